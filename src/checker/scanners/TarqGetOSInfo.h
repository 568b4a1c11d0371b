#pragma once
// The Windows version, read once at start and kept for the rest of the run. The checker looks
// only at the major version: 4 (Windows 95, 98, Me and NT 4) makes the scanners use the per-user
// Start-menu folders and delete keys in one call; exactly 5 (2000, XP, 2003) adds the
// protected-file check.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

class TTarqOSInfo {
 public:
  // Fills `info` (its size field already set) the way GetVersionExA does; false when the query
  // failed. Tests give versions of their own through it.
  using VersionQuery = std::function<bool(OSVERSIONINFOA& info)>;

  // Asks the system.
  TTarqOSInfo();
  explicit TTarqOSInfo(const VersionQuery& query);

  const std::wstring& OSName() const { return osName_; }
  int32_t MajorVersion() const { return majorVersion_; }
  int32_t MinorVersion() const { return minorVersion_; }
  uint32_t BuildNumber() const { return buildNumber_; }
  const std::wstring& CSDVersion() const { return csdVersion_; }

  // Short name of a version: "98", "Me", "2000", "XP", "2003", empty for other 4.x and 5.x
  // versions, "Invalidated" for every other major version (0 included).
  static std::wstring NameOf(int32_t major, int32_t minor);

  // GetVersionExA.
  static bool SystemQuery(OSVERSIONINFOA& info);

 private:
  std::wstring osName_;
  int32_t majorVersion_ = 0;
  int32_t minorVersion_ = 0;
  uint32_t buildNumber_ = 0;
  std::wstring csdVersion_;
};
