// Replacing a small file in one step: the new text goes to a temporary file
// in the same folder, is flushed to the disk and then renamed over the old
// file, so a crash or a full disk never leaves a truncated file behind.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/file_system.h"

// Writes data as the whole new content of path, with the permission bits
// `mode` when it is given (the process's umask otherwise). On failure the
// old file is unchanged, no temporary file is left, and errno tells why.
// The temporary file is held (locked, or open sharing no writes) until its
// rename; temporary files of `path` that no writer holds (left by a save
// killed before its rename) are removed first.
bool ReplaceFileAtomically(const std::string& path, std::string_view data, int mode = -1);
// The same with the content written by `write` into the temporary file
// (false when it failed, errno telling why).
bool ReplaceFileAtomically(const std::string& path, const std::function<bool(FileHandle& file)>& write,
                           int mode = -1);

// Removes, in `folder`, the temporary files of the files named in `names`
// that a save left when its process was killed before its rename. A file
// that its writer still holds is a save in progress and stays, whatever
// process id its name carries.
void RemoveDeadTempFiles(const std::string& folder, std::initializer_list<std::string_view> names);

// Puts `rename` in the place of the rename that puts the new file in place
// for as long as it lives (tests: a failure after the temporary file has
// been written), then the one before it.
class ScopedFileRename {
 public:
  using Rename = int (*)(const char* from, const char* to);
  explicit ScopedFileRename(Rename rename);
  ~ScopedFileRename();
  ScopedFileRename(const ScopedFileRename&) = delete;
  ScopedFileRename& operator=(const ScopedFileRename&) = delete;

 private:
  Rename previous_;
};
