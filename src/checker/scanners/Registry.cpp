#include "checker/scanners/Registry.h"

#include <algorithm>
#include <utility>

#include "common/text.h"

namespace registry {

namespace {

struct Root {
  HKEY key;
  const wchar_t* name;
};

const Root kRoots[] = {
    {HKEY_CLASSES_ROOT, L"HKEY_CLASSES_ROOT"},     {HKEY_CURRENT_USER, L"HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE"},   {HKEY_USERS, L"HKEY_USERS"},
    {HKEY_CURRENT_CONFIG, L"HKEY_CURRENT_CONFIG"},
};

// Registry names are at most 255 characters for keys and 16383 for values; a name longer than
// the buffer the key reported (it grew meanwhile) gets a larger buffer and the same index again.
constexpr DWORD kFirstNameBuffer = 256;
constexpr DWORD kLargestNameBuffer = 32768;
// A key that keeps changing under the walk is given up after this many tries of one index.
constexpr int kRetries = 4;

template <typename EnumFunction>
std::vector<std::wstring> EnumerateNames(HKEY key, DWORD firstBuffer, EnumFunction enumerate) {
  std::vector<std::wstring> names;
  if (key == nullptr) return names;
  std::string buffer(std::max(firstBuffer + 1, kFirstNameBuffer), '\0');
  int retries = 0;
  for (DWORD index = 0;;) {
    DWORD length = static_cast<DWORD>(buffer.size());
    const LONG result = enumerate(index, buffer.data(), &length);
    if (result == ERROR_MORE_DATA && buffer.size() < kLargestNameBuffer && ++retries < kRetries) {
      buffer.resize(std::min<size_t>(buffer.size() * 4, kLargestNameBuffer));
      continue;
    }
    if (result != ERROR_SUCCESS) break;  // no more items, or the key went away
    length = std::min<DWORD>(length, static_cast<DWORD>(buffer.size()));
    names.push_back(common::FromAnsi(std::string_view(buffer.data(), length)));
    ++index;
    retries = 0;
  }
  return names;
}

struct KeyInfo {
  DWORD subkeys = 0, maxSubkeyLength = 0, values = 0, maxValueNameLength = 0;
};

KeyInfo InfoOf(HKEY key) {
  KeyInfo info;
  if (key == nullptr ||
      RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &info.subkeys, &info.maxSubkeyLength,
                       nullptr, &info.values, &info.maxValueNameLength, nullptr, nullptr,
                       nullptr) != ERROR_SUCCESS)
    return {};
  return info;
}

// Reads a value's raw data, however long; none when it is missing or unreadable.
std::optional<std::string> ReadRaw(HKEY key, const std::string& name, DWORD* type) {
  if (key == nullptr) return std::nullopt;
  for (int attempt = 0; attempt < kRetries; ++attempt) {
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, type, nullptr, &size) != ERROR_SUCCESS)
      return std::nullopt;
    std::string data(size, '\0');
    DWORD got = size;
    const LONG result = RegQueryValueExA(key, name.c_str(), nullptr, type,
                                         reinterpret_cast<BYTE*>(data.data()), &got);
    if (result == ERROR_MORE_DATA) continue;  // it grew between the two calls
    if (result != ERROR_SUCCESS) return std::nullopt;
    data.resize(std::min(got, size));
    return data;
  }
  return std::nullopt;
}

}  // namespace

std::wstring RootName(HKEY root) {
  for (const Root& r : kRoots)
    if (r.key == root) return r.name;
  return {};
}

HKEY RootByName(std::wstring_view name) {
  for (const Root& r : kRoots)
    if (name == r.name) return r.key;
  return nullptr;
}

Key Key::Open(HKEY parent, std::wstring_view path, REGSAM access) {
  HKEY key = nullptr;
  if (parent == nullptr ||
      RegOpenKeyExA(parent, common::ToAnsi(path).c_str(), 0, access, &key) != ERROR_SUCCESS)
    return Key();
  return Key(key);
}

std::vector<std::wstring> Key::SubkeyNames() const {
  return EnumerateNames(
      Get(), InfoOf(Get()).maxSubkeyLength, [this](DWORD index, char* name, DWORD* length) {
        return RegEnumKeyExA(Get(), index, name, length, nullptr, nullptr, nullptr, nullptr);
      });
}

std::vector<std::wstring> Key::ValueNames() const {
  return EnumerateNames(
      Get(), InfoOf(Get()).maxValueNameLength, [this](DWORD index, char* name, DWORD* length) {
        return RegEnumValueA(Get(), index, name, length, nullptr, nullptr, nullptr, nullptr);
      });
}

int Key::SubkeyCount() const { return static_cast<int>(InfoOf(Get()).subkeys); }

int Key::ValueCount() const { return static_cast<int>(InfoOf(Get()).values); }

bool Key::HasSubkey(std::wstring_view name) const {
  return static_cast<bool>(Open(Get(), name, KEY_READ));
}

bool Key::HasValue(std::wstring_view name) const { return ValueType(name).has_value(); }

std::optional<DWORD> Key::ValueType(std::wstring_view name) const {
  DWORD type = 0;
  if (Get() == nullptr || RegQueryValueExA(Get(), common::ToAnsi(name).c_str(), nullptr, &type,
                                           nullptr, nullptr) != ERROR_SUCCESS)
    return std::nullopt;
  return type;
}

std::optional<std::wstring> Key::ReadText(std::wstring_view name) const {
  DWORD type = 0;
  const std::optional<std::string> data = ReadRaw(Get(), common::ToAnsi(name), &type);
  if (!data || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
  // Data stored without its terminating zero, or with bytes after it, end at the first zero.
  const size_t end = data->find('\0');
  return common::FromAnsi(std::string_view(*data).substr(0, end));
}

std::wstring Key::DefaultText() const { return ReadText(L"").value_or(std::wstring()); }

std::optional<DWORD> Key::ReadDword(std::wstring_view name) const {
  DWORD type = 0;
  const std::optional<std::string> data = ReadRaw(Get(), common::ToAnsi(name), &type);
  if (!data || type != REG_DWORD || data->size() < sizeof(DWORD)) return std::nullopt;
  DWORD value = 0;
  std::copy_n(data->data(), sizeof(DWORD), reinterpret_cast<char*>(&value));
  return value;
}

std::optional<RawValue> Key::ReadValue(std::wstring_view name) const {
  RawValue value;
  std::optional<std::string> data = ReadRaw(Get(), common::ToAnsi(name), &value.type);
  if (!data) return std::nullopt;
  value.data = std::move(*data);
  return value;
}

}  // namespace registry
