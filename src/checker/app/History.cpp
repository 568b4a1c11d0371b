#include "checker/app/History.h"

#include <algorithm>
#include <vector>

#include "common/handles.h"
#include "common/profile.h"
#include "common/text.h"

namespace {

constexpr wchar_t kActionKey[] = L"行为";
constexpr wchar_t kRecordKey[] = L"记录";
constexpr wchar_t kUndoKey[] = L"撤销文件";

std::wstring OneLine(std::wstring text) {
  std::replace_if(
      text.begin(), text.end(), [](wchar_t c) { return c < 0x20; }, L' ');
  return text;
}

std::wstring TwoDigits(int value) {
  return std::wstring(1, static_cast<wchar_t>(L'0' + value / 10 % 10)) +
         static_cast<wchar_t>(L'0' + value % 10);
}

}  // namespace

std::wstring HistoryPath(const std::wstring& programDirectory) {
  return programDirectory + L"\\Repair.log";
}

std::wstring HistorySection(const SYSTEMTIME& time) {
  char clock[80] = {};
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, sizeof(clock));
  return std::to_wstring(time.wYear) + L"-" + TwoDigits(time.wMonth) + L"-" + TwoDigits(time.wDay) +
         L"|" + common::FromAnsi(clock);
}

bool WriteHistory(const std::wstring& path, const SYSTEMTIME& time, const std::wstring& action,
                  const std::wstring& record, const std::wstring& undoFile) {
  const std::wstring section = HistorySection(time);
  bool written = common::WriteProfileText(path, section, kActionKey, OneLine(action));
  written = written && common::WriteProfileText(path, section, kRecordKey, OneLine(record));
  if (!undoFile.empty())
    written = written && common::WriteProfileText(path, section, kUndoKey, OneLine(undoFile));
  else if (written)
    WritePrivateProfileStringA(common::ToAnsi(section).c_str(), common::ToAnsi(kUndoKey).c_str(),
                               nullptr, common::ToAnsi(path).c_str());
  common::FlushProfile(path);
  return written;
}

std::wstring ReadHistoryText(const std::wstring& path) {
  const common::KernelHandle file(CreateFileA(common::ToAnsi(path).c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  std::replace(bytes.begin(), bytes.end(), '\0', ' ');  // a zero would end the memo's text
  const std::wstring text = common::FromAnsi(bytes);
  std::wstring lines;
  lines.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' || text[i] == L'\n') {
      if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      lines += L"\r\n";
    } else {
      lines += text[i];
    }
  }
  return lines;
}

bool ClearHistory(const std::wstring& path) {
  return DeleteFileA(common::ToAnsi(path).c_str()) != FALSE;
}
