#include "shell/core/rwini.h"

#include <cstdint>

#include "common/paths.h"
#include "common/profile.h"

namespace rwini {

namespace {
constexpr int kBufferSize = 144;
}

std::wstring IniFile::ReadIni(const std::wstring& section, const std::wstring& key,
                              const std::wstring& defaultValue) const {
  // The platform default is always empty, whatever the caller's default, so that "missing" and
  // "empty" look alike and both are written back.
  const common::ProfileRead read =
      common::ReadProfileText(path, section, key, L"", kBufferSize);
  if (static_cast<int16_t>(read.length) <= 0) {
    common::WriteProfileText(path, section, key, defaultValue);  // fails silently when read-only
    return defaultValue;
  }
  return read.text;
}

std::wstring GetIniPath() { return common::ProgramDirectory() + L"\\SysInfo.ini"; }

std::wstring ReadIni(const std::wstring& section, const std::wstring& key,
                     const std::wstring& defaultValue) {
  return IniFile{GetIniPath()}.ReadIni(section, key, defaultValue);
}

}  // namespace rwini
