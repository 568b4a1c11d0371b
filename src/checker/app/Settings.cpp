#include "checker/app/Settings.h"

#include <climits>

#include "common/profile.h"

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

std::optional<int> ParseDecimal(const std::wstring& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == L' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  if (i == text.size()) return std::nullopt;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
    value = value * 10 + (text[i] - L'0');
    if (value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < INT_MIN || value > INT_MAX) return std::nullopt;
  return static_cast<int>(value);
}

WindowSettings ReadWindowSettings(const std::wstring& path) {
  WindowSettings settings;
  if (Read(path, kSection, L"Window") == L"Max") {
    settings.maximised = true;
    return settings;
  }
  settings.top = ParseDecimal(Read(path, kSection, L"Top"));
  settings.height = ParseDecimal(Read(path, kSection, L"Height"));
  settings.width = ParseDecimal(Read(path, kSection, L"Width"));
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
