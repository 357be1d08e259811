// Replacing a small file in one step: the new text goes to a temporary file
// in the same folder, is flushed to the disk and then renamed over the old
// file, so a crash or a full disk never leaves a truncated file behind.
#pragma once

#include <string>
#include <string_view>

// Writes data as the whole new content of path, with the permission bits
// `mode` when it is given (the process's umask otherwise). On failure the
// old file is unchanged, no temporary file is left, and errno tells why.
// Temporary files of `path` left by a save whose process is gone (killed
// before its rename) are removed first.
bool ReplaceFileAtomically(const std::string& path, std::string_view data, int mode = -1);

// The rename that puts the new file in place; tests replace it to simulate
// a failure after the temporary file has been written.
extern int (*AtomicFileRename)(const char* from, const char* to);
