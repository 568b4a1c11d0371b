#pragma once
#include <string>

namespace common {

// Folder of the running program, without a trailing backslash ("C:" for a root folder).
std::wstring ProgramDirectory();

// Full path of the running program.
std::wstring ProgramPath();

bool FileExists(const std::wstring& path);

}  // namespace common
