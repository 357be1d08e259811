// What the Windows bodies share: UTF-8 paths as the wide strings the W calls
// take, and GetLastError's codes as the errno that every failure carries.
// Include only in *_win32.cpp files.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

// `text` (UTF-8) as UTF-16; empty for text that isn't UTF-8.
std::wstring Wide(const std::string& text);
// `text` (UTF-16) as UTF-8.
std::string Utf8(const std::wstring& text);
// A path the system gave, as UTF-8 with '/' between its parts, the form the
// shared code splits and joins (the W calls take either separator).
std::string Utf8Path(const std::wstring& path);
// Sets errno for the Windows error `error`; returns false for the caller's
// `return SetErrnoFrom(...)`.
bool SetErrnoFrom(DWORD error);
// The same for GetLastError().
bool SetErrnoFromLastError();
