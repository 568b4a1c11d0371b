#include "common/profile.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "common/text.h"

namespace common {

ProfileRead ReadProfileText(const std::wstring& path, const std::wstring& section,
                            const std::wstring& key, const std::wstring& defaultText,
                            int bufferSize) {
  std::vector<char> buffer(static_cast<size_t>(bufferSize > 0 ? bufferSize : 1), '\0');
  const DWORD copied = GetPrivateProfileStringA(
      ToAnsi(section).c_str(), ToAnsi(key).c_str(), ToAnsi(defaultText).c_str(), buffer.data(),
      static_cast<DWORD>(buffer.size()), ToAnsi(path).c_str());
  ProfileRead result;
  result.length = static_cast<int>(copied);
  std::string bytes(buffer.data(), strnlen(buffer.data(), buffer.size()));
  TrimIncompleteAnsi(bytes);  // a value cut at the buffer's end may end in half a character
  result.text = FromAnsi(bytes);
  return result;
}

bool WriteProfileText(const std::wstring& path, const std::wstring& section,
                      const std::wstring& key, const std::wstring& value) {
  return WritePrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(),
                                    ToAnsi(value).c_str(), ToAnsi(path).c_str()) != FALSE;
}

bool DeleteProfileEntry(const std::wstring& path, const std::wstring& section,
                        const std::wstring& key) {
  const std::string ansiKey = ToAnsi(key);
  return WritePrivateProfileStringA(ToAnsi(section).c_str(),
                                    key.empty() ? nullptr : ansiKey.c_str(), nullptr,
                                    ToAnsi(path).c_str()) != FALSE;
}

void FlushProfile(const std::wstring& path) {
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, ToAnsi(path).c_str());
}

std::vector<std::wstring> ReadProfileKeyNames(const std::wstring& path,
                                              const std::wstring& section) {
  // The names come as one block of NUL-terminated texts; a block that fills the buffer was cut,
  // so the buffer grows until the whole list fits.
  for (DWORD size = 4096; size <= (1u << 24); size *= 4) {
    std::vector<char> buffer(size, '\0');
    const DWORD copied = GetPrivateProfileStringA(ToAnsi(section).c_str(), nullptr, "",
                                                  buffer.data(), size, ToAnsi(path).c_str());
    if (copied + 2 >= size) continue;
    std::vector<std::wstring> names;
    for (const char* name = buffer.data(); *name != '\0'; name += strlen(name) + 1)
      names.push_back(FromAnsi(name));
    return names;
  }
  return {};
}

}  // namespace common
