#include "checker/scanners/FileQueries.h"

#include <windows.h>

#include <array>
#include <atomic>
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
  // A drive keeps its type for the life of a scan, and asking costs milliseconds on some
  // systems (Wine asks its mount manager): the type of a drive letter is asked once.
  using Cache = std::array<std::atomic<UINT>, 26>;  // 0: not asked yet (DRIVE_UNKNOWN)
  queries.DriveType = [cache = std::make_shared<Cache>()](const std::wstring& root) {
    const wchar_t first = root.empty() ? L'\0' : root[0];
    const wchar_t letter =
        first >= L'a' && first <= L'z' ? static_cast<wchar_t>(first - 32) : first;
    const bool driveRoot =
        root.size() == 3 && letter >= L'A' && letter <= L'Z' && root[1] == L':' && root[2] == L'\\';
    if (!driveRoot) return GetDriveTypeA(common::ToAnsi(root).c_str());
    std::atomic<UINT>& cached = (*cache)[static_cast<size_t>(letter - L'A')];
    UINT type = cached.load();
    if (type == DRIVE_UNKNOWN) {
      type = GetDriveTypeA(common::ToAnsi(root).c_str());
      cached.store(type);
    }
    return type;
  };
  queries.LogicalDrives = [] { return GetLogicalDrives(); };
  return queries;
}
