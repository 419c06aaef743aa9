// Where the running program lies: its modules and its configuration file are beside it.
#pragma once

#include <string>

// The full path of the running executable, however long; empty when it cannot be had.
std::wstring ExecutablePath();

// The folder part of a file's path, without the trailing backslash; empty when the path
// holds no backslash.
std::wstring FolderOf(const std::wstring& path);
