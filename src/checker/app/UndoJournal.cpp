#include "checker/app/UndoJournal.h"

#include <algorithm>
#include <utility>

#include "checker/scanners/RegistryEdit.h"
#include "common/handles.h"
#include "common/text.h"

namespace {

std::wstring Digits(int value, int count) {
  std::wstring text = std::to_wstring(value);
  return std::wstring(text.size() < static_cast<size_t>(count) ? count - text.size() : 0, L'0') +
         text;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesA(common::ToAnsi(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

UndoJournal::UndoJournal(std::wstring folder, Clock clock)
    : folder_(std::move(folder)), clock_(std::move(clock)) {}

SYSTEMTIME UndoJournal::LocalTime() {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  return now;
}

std::wstring UndoJournal::FileFor(const SYSTEMTIME& day) const {
  return folder_ + L"\\Undo_Sanivo_" + Digits(day.wYear, 4) + Digits(day.wMonth, 2) +
         Digits(day.wDay, 2) + L".reg";
}

std::optional<std::wstring> UndoJournal::Append(const std::wstring& text) {
  const SYSTEMTIME now = clock_();
  const std::wstring path = FileFor(now);
  const common::KernelHandle file(CreateFileA(common::ToAnsi(path).c_str(), GENERIC_WRITE,
                                              FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size = {};
  const LARGE_INTEGER none = {};
  if (!GetFileSizeEx(file.Get(), &size) || !SetFilePointerEx(file.Get(), none, nullptr, FILE_END))
    return std::nullopt;
  std::string bytes = size.QuadPart == 0 ? "REGEDIT4\r\n\r\n" : "";
  bytes += common::ToAnsi(L"; " + Digits(now.wYear, 4) + L"-" + Digits(now.wMonth, 2) + L"-" +
                          Digits(now.wDay, 2) + L" " + Digits(now.wHour, 2) + L":" +
                          Digits(now.wMinute, 2) + L":" + Digits(now.wSecond, 2) + L"\r\n" + text);
  if (!WriteAll(file.Get(), bytes) || !FlushFileBuffers(file.Get())) return std::nullopt;
  if (std::find(written_.begin(), written_.end(), path) == written_.end()) written_.push_back(path);
  return path;
}

std::optional<std::wstring> UndoJournal::RecordKey(HKEY root, const std::wstring& path) {
  const std::optional<std::wstring> text = registry::Regedit4Key(root, path);
  return text ? Append(*text) : std::nullopt;
}

std::optional<std::wstring> UndoJournal::RecordValue(HKEY root, const std::wstring& path,
                                                     const std::wstring& name) {
  const std::optional<std::wstring> text = registry::Regedit4Value(root, path, name);
  return text ? Append(*text) : std::nullopt;
}

std::optional<std::wstring> UndoJournal::KeepFile(const std::wstring& path) {
  const std::wstring folder = folder_ + L"\\" + kFolderName;
  if (!CreateDirectoryA(common::ToAnsi(folder).c_str(), nullptr) &&
      GetLastError() != ERROR_ALREADY_EXISTS)
    return std::nullopt;
  // The copy keeps the file's name; one of the same name already kept gets a number.
  const size_t slash = path.find_last_of(L'\\');
  const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of(L'.');
  const std::wstring stem = dot == std::wstring::npos ? name : name.substr(0, dot);
  const std::wstring extension = dot == std::wstring::npos ? L"" : name.substr(dot);
  std::wstring copy = folder + L"\\" + name;
  for (int n = 2; Exists(copy); ++n) {
    if (n > 9999) return std::nullopt;
    copy = folder + L"\\" + stem + L" (" + std::to_wstring(n) + L")" + extension;
  }
  if (!CopyFileA(common::ToAnsi(path).c_str(), common::ToAnsi(copy).c_str(), TRUE))
    return std::nullopt;
  if (!Append(L"; 快捷方式“" + path + L"”已复制为“" + copy + L"”\r\n\r\n")) return std::nullopt;
  return copy;
}
