// Files and folders, named for what the program asks of them; each system
// has its own bodies (file_system_posix.cpp, file_system_win32.cpp). Paths
// are UTF-8 text, with '/' between their parts on every system (Windows
// takes '\' as well); Windows gets them as the wide strings of its W calls,
// never as text read in its ANSI code page. Failures answer false (or
// nothing) with errno telling why.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// An open file, closed when it goes. Move-only.
class FileHandle {
 public:
  // The system's own handle: a descriptor here, a HANDLE on Windows.
  using Native = std::intptr_t;
  static constexpr Native kInvalid = -1;

  FileHandle() = default;
  explicit FileHandle(Native native) : native_(native) {}
  // Keeps errno: a handle closed on a failure's way out never hides its reason.
  ~FileHandle();
  FileHandle(FileHandle&& other) noexcept : native_(other.Release()) {}
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool Valid() const { return native_ != kInvalid; }
  Native Get() const { return native_; }
  // Gives the handle up without closing it.
  Native Release();
  // Closes the file; false (errno set) when the close reported an error.
  bool Close();
  // Writes all of data, going on after an interrupted write.
  bool WriteAll(std::string_view data);

 private:
  Native native_ = kInvalid;
};

// What lies at a path, links followed.
bool PathExists(const std::string& path);
bool IsRegularFile(const std::string& path);
bool IsFolder(const std::string& path);
// Whether this process may write, or run, the file or folder at path.
bool CanWrite(const std::string& path);
bool CanExecute(const std::string& path);
// The permission bits of the regular file at path (a link is not followed);
// -1 when there is none.
int PermissionBits(const std::string& path);
// Creates the folder and its parents when missing.
bool CreateFolders(const std::string& folder);
// A new empty folder under the system's temporary folder, its name `tag`
// and a unique ending (/tmp/<tag>-XXXXXX); empty on failure, errno telling why.
std::string CreateTempFolder(const std::string& tag);
// Makes `link` stand for the file `target`: a symbolic link; on Windows,
// where links need a privilege, a copy.
bool LinkFile(const std::string& target, const std::string& link);
// Writes `data` as the whole content of the file at path, made or emptied
// first: for what a user asked to have written (a picture, a report, where
// a pipe or a terminal may stand); the program's own files are replaced
// atomically instead (atomic_file.h).
bool WriteWholeFile(const std::string& path, std::string_view data);
// Removes the folder and all it holds (a link in it is removed, never
// followed); true when nothing is left at the path.
bool RemoveTree(const std::string& folder);
// Joins a folder and a file name with exactly one '/'.
std::string JoinPath(const std::string& folder, const std::string& name);

// The folder the process works in; empty on failure.
std::string CurrentFolder();
// The absolute path of what lies at `path`, every link followed; empty
// when nothing is there.
std::string ResolvedPath(const std::string& path);
// The path as the system writes it, for a user to read and for the settings
// file to keep: '\' between the parts on Windows, unchanged elsewhere.
std::string NativePath(const std::string& path);
// A path that a file of settings holds, as the program's path text. Linux
// keeps its byte paths as they are. On Windows the file is UTF-8, but one
// written by an earlier program (and the program this one follows) holds its
// folder in the system's ANSI code page (Shift-JIS on a Japanese system):
// text that is not well-formed UTF-8 is read in that code page.
std::string PathFromStoredText(std::string_view text);
