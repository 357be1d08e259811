// The system folder: where the settings file and the installed program live
// (the Windows directory on the original platform).
#pragma once

#include <string>
#include <vector>

// $ZUK_RER1_WINDIR when set, else $XDG_DATA_HOME/zuk_rer1, else
// ~/.local/share/zuk_rer1, the home folder being $HOME or, when that is unset
// or empty, the user's home folder from the password database. Never ends
// in '/'.
std::string SystemFolder();
// Creates the folder (and its parents) when missing; false on failure, with
// errno telling why.
bool EnsureSystemFolder();
// Joins a folder and a file name with exactly one '/'.
std::string JoinPath(const std::string& folder, const std::string& name);
// The folders where an installation keeps the data files, for the program
// file at `programFile`, most likely first: PREFIX/share/zuk_rer1 for a
// program anywhere under PREFIX/lib, lib64, libexec, bin or games, then the
// folder that holds the program.
std::vector<std::string> InstalledDataFolders(const std::string& programFile);
// The first of `folders` that holds the data files (bmp1.bmp, a regular
// file); empty when none does.
std::string FolderWithDataFiles(const std::vector<std::string>& folders);
// The full path of the running program file (/proc/self/exe).
std::string ProgramFilePath();
