// The one way from the program's path text into std::filesystem and back.
// A std::string handed to std::filesystem::path is read in the system's
// narrow encoding, which on Windows is the ANSI code page: a UTF-8 name
// with Japanese or accented letters would name another file. These make
// the wide path on Windows and keep the bytes elsewhere.
#pragma once

#include <filesystem>
#include <string>

std::filesystem::path FsPath(const std::string& path);
// The path as the program's text ('/' between the parts on every system).
std::string PathText(const std::filesystem::path& path);
