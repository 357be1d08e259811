// What the systems' bodies of atomic_file.h share.
#pragma once

#include <string>
#include <string_view>

#include "platform/atomic_file.h"

// The folder that holds path ("." for a bare name).
std::string FolderOf(const std::string& path);
// The file's name without its folder.
std::string BaseName(const std::string& path);
// The name of a temporary file of `path`: "<path>.<pid>.<n>.tmp". The
// process id only keeps two processes' names apart: ids come again (Wine
// gives each fresh session the same), so the writer's hold on its open file
// (a lock, a handle that shares nothing but deletion) is what tells a save
// in progress from a leftover.
std::string TempFileName(const std::string& path);
// Whether `name` has the form of a temporary file of `base`.
bool IsTempFileOf(std::string_view name, std::string_view base);
// The system's rename, replacing an existing file (0, or -1 with errno set).
int SystemRename(const char* from, const char* to);
// The rename in force (the system's own unless a ScopedFileRename is).
ScopedFileRename::Rename& CurrentRename();
