#include "checker/scanners/TarqGetOSInfo.h"

#include <cstring>

#include "common/text.h"

TTarqOSInfo::TTarqOSInfo() : TTarqOSInfo(&TTarqOSInfo::SystemQuery) {}

TTarqOSInfo::TTarqOSInfo(const VersionQuery& query) {
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof(info);  // 148 bytes
  if (query && query(info)) {
    majorVersion_ = static_cast<int32_t>(info.dwMajorVersion);
    minorVersion_ = static_cast<int32_t>(info.dwMinorVersion);
    buildNumber_ = info.dwBuildNumber & 0xFFFF;
    // The service-pack text is at most 128 bytes; a text that fills them has no terminator.
    const size_t length = strnlen(info.szCSDVersion, sizeof(info.szCSDVersion));
    csdVersion_ = common::FromAnsi(std::string_view(info.szCSDVersion, length));
  }
  osName_ = NameOf(majorVersion_, minorVersion_);
}

std::wstring TTarqOSInfo::NameOf(int32_t major, int32_t minor) {
  if (major == 4) {
    if (minor == 10) return L"98";
    if (minor == 90) return L"Me";
    return {};
  }
  if (major == 5) {
    if (minor == 0) return L"2000";
    if (minor == 1) return L"XP";
    if (minor == 2) return L"2003";
    return {};
  }
  return L"Invalidated";
}

bool TTarqOSInfo::SystemQuery(OSVERSIONINFOA& info) { return GetVersionExA(&info) != FALSE; }
