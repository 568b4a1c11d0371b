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

std::wstring UndoJournal::FileFor(const SYSTEMTIME& day, int n) const {
  return folder_ + L"\\Undo_Sanivo_" + Digits(day.wYear, 4) + Digits(day.wMonth, 2) +
         Digits(day.wDay, 2) + (n > 1 ? L"_" + std::to_wstring(n) : L"") + L".reg";
}

namespace {

std::string Utf16Bytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// The bytes a journal starts with: the byte-order mark and the header line, then an empty line.
std::string JournalStart() {
  return "\xFF\xFE" + Utf16Bytes(std::wstring(registry::kRegFileHeader) + L"\r\n\r\n");
}

// What the file holds at `offset`, `count` bytes of it (fewer at its end).
std::string ReadAt(HANDLE file, LONGLONG offset, DWORD count) {
  LARGE_INTEGER at = {};
  at.QuadPart = offset;
  std::string bytes(count, '\0');
  DWORD read = 0;
  if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) ||
      !ReadFile(file, bytes.data(), count, &read, nullptr))
    return {};
  bytes.resize(read);
  return bytes;
}

}  // namespace

bool UndoJournal::AppendTo(const std::wstring& path, const std::wstring& record, bool& unusable) {
  unusable = false;
  const common::KernelHandle file(CreateFileA(common::ToAnsi(path).c_str(),
                                              GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.Get(), &size)) return false;
  std::string bytes = Utf16Bytes(record);
  if (size.QuadPart == 0) {
    bytes = JournalStart() + bytes;
  } else {
    // Appended to only when it is one of these journals and its last record ended whole.
    const std::string start = JournalStart();
    const std::string end = Utf16Bytes(L"\r\n\r\n");
    if (size.QuadPart < static_cast<LONGLONG>(start.size()) ||
        ReadAt(file.Get(), 0, static_cast<DWORD>(start.size())) != start ||
        ReadAt(file.Get(), size.QuadPart - end.size(), static_cast<DWORD>(end.size())) != end) {
      unusable = true;
      return false;
    }
  }
  LARGE_INTEGER none = {};
  DWORD written = 0;
  const bool whole =
      SetFilePointerEx(file.Get(), none, nullptr, FILE_END) &&
      WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size() && FlushFileBuffers(file.Get());
  if (!whole) {
    // A record cut short (the disk full) is taken back, so that the file stays a whole journal.
    SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN);
    SetEndOfFile(file.Get());
    FlushFileBuffers(file.Get());
  }
  return whole;
}

std::optional<std::wstring> UndoJournal::Append(const std::wstring& text) {
  const SYSTEMTIME now = clock_();
  const std::wstring record = L"; " + Digits(now.wYear, 4) + L"-" + Digits(now.wMonth, 2) + L"-" +
                              Digits(now.wDay, 2) + L" " + Digits(now.wHour, 2) + L":" +
                              Digits(now.wMinute, 2) + L":" + Digits(now.wSecond, 2) + L"\r\n" +
                              text;
  // The first of the day's files that takes it; one that is not a whole journal is passed over.
  constexpr int kMostFilesADay = 99;
  for (int n = 1; n <= kMostFilesADay; ++n) {
    const std::wstring path = FileFor(now, n);
    bool unusable = false;
    if (AppendTo(path, record, unusable)) {
      if (std::find(written_.begin(), written_.end(), path) == written_.end())
        written_.push_back(path);
      return path;
    }
    if (!unusable) return std::nullopt;
  }
  return std::nullopt;
}

std::optional<std::wstring> UndoJournal::Record(const std::optional<std::wstring>& text) {
  lastFailure_ = Failure::Unreadable;
  if (!text) return std::nullopt;
  const std::optional<std::wstring> file = Append(*text);
  lastFailure_ = file ? Failure::None : Failure::NotWritten;
  return file;
}

std::optional<std::wstring> UndoJournal::RecordKey(HKEY root, const std::wstring& path) {
  return Record(registry::RegFileKey(root, path));
}

std::optional<std::wstring> UndoJournal::RecordValue(HKEY root, const std::wstring& path,
                                                     const std::wstring& name) {
  return Record(registry::RegFileValue(root, path, name));
}

std::optional<std::wstring> UndoJournal::KeepFile(const std::wstring& path) {
  const std::wstring folder = folder_ + L"\\" + kFolderName;
  lastFailure_ = Failure::NotWritten;
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
  lastFailure_ = Failure::None;
  return copy;
}
