#include "checker/scanners/FileQueries.h"

#include <windows.h>

#include <map>
#include <memory>
#include <optional>

#include "common/text.h"
#include "common/wow64.h"

static_assert(kDriveFixed == DRIVE_FIXED);

namespace {

PathKind SystemLook(const std::wstring& path, bool redirectionOff) {
  // An empty text would be the current folder, which is not what any caller asks about.
  if (path.empty()) return PathKind::Missing;
  const std::string ansi = common::ToAnsi(path);
  // The ANSI functions take no longer path; what it names cannot be looked at.
  if (ansi.size() >= MAX_PATH) return PathKind::Unknown;
  std::optional<common::Wow64RedirectionOff> off;
  if (redirectionOff) off.emplace();
  const DWORD attributes = GetFileAttributesA(ansi.c_str());
  const DWORD error = GetLastError();
  off.reset();
  if (attributes != INVALID_FILE_ATTRIBUTES)
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::Folder : PathKind::File;
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
      return PathKind::Missing;
    default:
      return PathKind::Unknown;
  }
}

}  // namespace

FileQueries FileQueries::OverLook(
    std::function<PathKind(const std::wstring& path, bool redirectionOff)> look, bool wow64) {
  const auto kind = [look = std::move(look), wow64](const std::wstring& path) {
    const PathKind seen = look(path, false);
    return seen == PathKind::Missing && wow64 ? look(path, true) : seen;
  };
  FileQueries queries;
  queries.FileExists = [kind](const std::wstring& path) {
    const PathKind k = kind(path);
    return k == PathKind::File || k == PathKind::Unknown;
  };
  queries.PathExists = [kind](const std::wstring& path) { return kind(path) != PathKind::Missing; };
  return queries;
}

FileQueries FileQueries::System() {
  FileQueries queries = OverLook(SystemLook, common::IsWow64());
  queries.DriveType = [](const std::wstring& root) {
    return GetDriveTypeA(common::ToAnsi(root).c_str());
  };
  queries.LogicalDrives = [] { return GetLogicalDrives(); };
  return queries;
}

FileQueries FileQueries::RememberingDriveTypes(FileQueries files) {
  auto known = std::make_shared<std::map<std::wstring, unsigned>>();
  files.DriveType = [known, ask = std::move(files.DriveType)](const std::wstring& root) {
    std::wstring key = root;
    CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
    const auto found = known->find(key);
    if (found != known->end()) return found->second;
    const unsigned type = ask ? ask(root) : DRIVE_UNKNOWN;
    known->emplace(std::move(key), type);
    return type;
  };
  return files;
}
