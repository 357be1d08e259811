// The system folder: where the settings file and the installed program live
// (the Windows directory on the original platform).
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"

// $ZUK_RER1_WINDIR when set, else $XDG_DATA_HOME/zuk_rer1, else
// ~/.local/share/zuk_rer1, the home folder being $HOME or, when that is unset
// or empty, the user's home folder from the password database. Never ends
// in '/'. On Windows, without $ZUK_RER1_WINDIR, the Windows directory.
std::string SystemFolder();
// The user's own folder, for what the system folder can't take: the system
// folder itself on Linux; on Windows %LOCALAPPDATA%/zuk_rer1 (the
// LOCALAPPDATA variable when it is set, else the known folder). Windows
// paths come with '/' between their parts.
std::string UserFolder();
// Where the settings file is looked for, first to last: the system folder,
// then the user's folder when that is another.
std::vector<std::string> SettingsFolders();
// Creates the folder (and its parents) when missing; false on failure, with
// errno telling why.
bool EnsureSystemFolder();
// The user's home folder: $HOME, or the system's record of the user when
// that is unset or empty; on Windows the user's profile (%USERPROFILE%).
std::string HomeFolder();
// The folders where an installation keeps the data files, for the program
// file at `programFile`, most likely first: PREFIX/share/zuk_rer1 for a
// program anywhere under PREFIX/lib, lib64, libexec, bin or games, then the
// folder that holds the program.
std::vector<std::string> InstalledDataFolders(const std::string& programFile);
// Whether `folder` belongs to an installed package, which only the package
// manager may write: anything under /usr, and an installation's data folder
// PREFIX/share/zuk_rer1 wherever PREFIX is. None on Windows: a folder
// unzipped is the user's, and whether it can be written decides.
bool IsPackageFolder(const std::string& folder);
// The first of `folders` that holds the data files (bmp1.bmp, a regular
// file); empty when none does.
std::string FolderWithDataFiles(const std::vector<std::string>& folders);
