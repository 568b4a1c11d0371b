#include "checker/app/RegistryFile.h"

#include <windows.h>

#include <cstring>

#include "common/handles.h"
#include "common/text.h"

namespace {

constexpr std::string_view kUnicodeMark = "\xFF\xFE";
constexpr std::wstring_view kUnicodeHeader = L"Windows Registry Editor Version 5.00";
constexpr std::string_view kAnsiHeader = "REGEDIT4";

// The file's text: UTF-16 after its mark, or the code page's bytes as they are (only ASCII is
// looked at in them).
std::wstring TextOf(std::string_view bytes, bool unicode) {
  if (!unicode) return std::wstring(bytes.begin(), bytes.end());
  bytes.remove_prefix(kUnicodeMark.size());
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
  return text;
}

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// A section header of the root itself or of a key below it.
bool HasRoot(std::wstring_view text, std::wstring_view root) {
  const std::wstring header = L"\n[" + std::wstring(root);
  for (size_t at = text.find(header); at != std::wstring_view::npos;
       at = text.find(header, at + 1)) {
    const size_t after = at + header.size();
    if (after < text.size() && (text[after] == L']' || text[after] == L'\\')) return true;
  }
  return false;
}

}  // namespace

RegistryFileState CheckRegistryFile(std::string_view bytes, bool wholeRegistry) {
  if (bytes.empty()) return RegistryFileState::Empty;
  const bool unicode = bytes.substr(0, kUnicodeMark.size()) == kUnicodeMark;
  if (unicode && bytes.size() % 2 != 0) return RegistryFileState::CutShort;
  const std::wstring text = TextOf(bytes, unicode);
  const std::wstring header =
      unicode ? std::wstring(kUnicodeHeader) : std::wstring(kAnsiHeader.begin(), kAnsiHeader.end());
  if (!StartsWith(text, header) ||
      (text.size() > header.size() && text[header.size()] != L'\r' && text[header.size()] != L'\n'))
    return RegistryFileState::NotRegistryFile;
  // Whole: it ends with a line break, and its last line does not go on in a next one.
  if (text.back() != L'\n') return RegistryFileState::CutShort;
  const size_t lastText = text.find_last_not_of(L"\r\n");
  if (lastText != std::wstring::npos && text[lastText] == L'\\') return RegistryFileState::CutShort;
  if (wholeRegistry && (!HasRoot(text, L"HKEY_LOCAL_MACHINE") || !HasRoot(text, L"HKEY_USERS")))
    return RegistryFileState::RootsMissing;
  return RegistryFileState::Whole;
}

RegistryFileState CheckRegistryFileAt(const std::wstring& path, bool wholeRegistry) {
  const common::KernelHandle file(CreateFileA(common::ToAnsi(path).c_str(), GENERIC_READ,
                                              FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size = {};
  // A registry export of any Windows is far below this.
  constexpr LONGLONG kLargest = 1LL << 30;
  if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > kLargest)
    return RegistryFileState::Missing;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size()))
    return RegistryFileState::Missing;
  return CheckRegistryFile(bytes, wholeRegistry);
}
