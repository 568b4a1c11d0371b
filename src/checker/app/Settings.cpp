#include "checker/app/Settings.h"

#include "common/profile.h"
#include "common/text.h"

namespace {

constexpr wchar_t kSection[] = L"Sanivo";
constexpr int kBufferSize = 256;

std::wstring Read(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
  return common::ReadProfileText(path, section, key, L"", kBufferSize).text;
}

}  // namespace

std::wstring SettingsPath(const std::wstring& programDirectory) {
  return programDirectory + L"\\Set.ini";
}

WindowSettings ReadWindowSettings(const std::wstring& path) {
  WindowSettings settings;
  if (Read(path, kSection, L"Window") == L"Max") {
    settings.maximised = true;
    return settings;
  }
  settings.top = common::ParseDecimal(Read(path, kSection, L"Top"));
  settings.height = common::ParseDecimal(Read(path, kSection, L"Height"));
  settings.width = common::ParseDecimal(Read(path, kSection, L"Width"));
  return settings;
}

std::wstring ReadBakPath(const std::wstring& path) {
  const std::wstring value = Read(path, L"Other", L"BakPath");
  return value.empty() ? L"Backup" : value;
}

void WriteWindowSettings(const std::wstring& path, bool maximised, int top, int height, int width) {
  common::WriteProfileText(path, kSection, L"Window", maximised ? L"Max" : L"Normal");
  common::WriteProfileText(path, kSection, L"Top", std::to_wstring(top));
  common::WriteProfileText(path, kSection, L"Height", std::to_wstring(height));
  common::WriteProfileText(path, kSection, L"Width", std::to_wstring(width));
  common::FlushProfile(path);
}
