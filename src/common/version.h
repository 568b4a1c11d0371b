#pragma once
// The running program's own version resource.
#include <string>

namespace common {

struct ProgramVersion {
  bool found = false;
  unsigned major = 0, minor = 0, build = 0, revision = 0;
};

ProgramVersion ReadVersionOf(const std::wstring& path);
ProgramVersion ReadOwnVersion();

// A string of the version resource's first translation ("ProductName", "FileDescription", ...).
std::wstring ReadVersionString(const std::wstring& path, const std::wstring& name);

}  // namespace common
