#include "checker/scanners/FileQueries.h"

#include <windows.h>

#include "common/text.h"

static_assert(kDriveFixed == DRIVE_FIXED);

namespace {

DWORD Attributes(const std::wstring& path) {
  // An empty text would be the current folder, which is not what any caller asks about.
  if (path.empty()) return INVALID_FILE_ATTRIBUTES;
  return GetFileAttributesA(common::ToAnsi(path).c_str());
}

}  // namespace

FileQueries FileQueries::System() {
  FileQueries queries;
  queries.DriveType = [](const std::wstring& root) {
    return GetDriveTypeA(common::ToAnsi(root).c_str());
  };
  queries.LogicalDrives = [] { return GetLogicalDrives(); };
  queries.FileExists = [](const std::wstring& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  };
  queries.PathExists = [](const std::wstring& path) {
    return Attributes(path) != INVALID_FILE_ATTRIBUTES;
  };
  return queries;
}
