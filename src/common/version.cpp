#include "common/version.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "common/paths.h"

namespace common {

namespace {

std::vector<char> VersionBlock(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<char> block(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return {};
  return block;
}

}  // namespace

ProgramVersion ReadVersionOf(const std::wstring& path) {
  ProgramVersion version;
  std::vector<char> block = VersionBlock(path);
  if (block.empty()) return version;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) ||
      info == nullptr || length < sizeof(VS_FIXEDFILEINFO))
    return version;
  version.found = true;
  version.major = HIWORD(info->dwFileVersionMS);
  version.minor = LOWORD(info->dwFileVersionMS);
  version.build = HIWORD(info->dwFileVersionLS);
  version.revision = LOWORD(info->dwFileVersionLS);
  return version;
}

ProgramVersion ReadOwnVersion() { return ReadVersionOf(ProgramPath()); }

std::wstring ReadVersionString(const std::wstring& path, const std::wstring& name) {
  std::vector<char> block = VersionBlock(path);
  if (block.empty()) return {};
  struct Translation {
    WORD language, codePage;
  }* translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &length) ||
      length < sizeof(Translation))
    return {};
  wchar_t query[128];
  swprintf(query, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language,
           translation->codePage, name.c_str());
  wchar_t* value = nullptr;
  if (!VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&value), &length) ||
      value == nullptr || length == 0)
    return {};
  return std::wstring(value);
}

}  // namespace common
