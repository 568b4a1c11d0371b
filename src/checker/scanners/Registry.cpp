#include "checker/scanners/Registry.h"

#include <algorithm>
#include <utility>

#include "common/lookup.h"
#include "common/text.h"

namespace registry {

bool SameName(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                        b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

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
  DWORD subkeys = 0, maxSubkeyLength = 0, values = 0, maxValueNameLength = 0, maxValueLength = 0;
};

KeyInfo InfoOf(HKEY key) {
  KeyInfo info;
  if (key == nullptr ||
      RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &info.subkeys, &info.maxSubkeyLength,
                       nullptr, &info.values, &info.maxValueNameLength, &info.maxValueLength,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return {};
  return info;
}

// Data larger than this is read as its name and type only: no path is that long, and a broken
// or hostile key must not make the walk allocate without bound.
constexpr DWORD kFirstDataBuffer = 4096;
constexpr DWORD kLargestData = 16u << 20;
// A value's name buffer grows four times from 256 to 32768 bytes, its data buffer once.
constexpr int kValueRetries = 6;

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

std::optional<std::wstring> TextOf(DWORD type, std::string_view data) {
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  // Data stored without its terminating zero, or with bytes after it, end at the first zero.
  return common::FromAnsi(data.substr(0, data.find('\0')));
}

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

namespace {

// The system's own name of an open key, through ntdll's NtQueryKey (KeyNameInformation), which
// every NT system has but which is found at run time all the same.
std::optional<std::wstring> SystemName(HKEY key) {
  using QueryKey = LONG(NTAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  static const auto queryKey = common::LookUp<QueryKey>(L"ntdll.dll", "NtQueryKey");
  constexpr int kKeyNameInformation = 3;
  if (queryKey == nullptr || key == nullptr) return std::nullopt;
  std::vector<ULONG> buffer(256);  // ULONGs: the name's length, then the name (aligned)
  for (int attempt = 0; attempt < 2; ++attempt) {
    ULONG needed = 0;
    const LONG status = queryKey(key, kKeyNameInformation, buffer.data(),
                                 static_cast<ULONG>(buffer.size() * sizeof(ULONG)), &needed);
    if (status >= 0) {
      const ULONG bytes = buffer[0];
      if (bytes > (buffer.size() - 1) * sizeof(ULONG)) return std::nullopt;
      return std::wstring(reinterpret_cast<const wchar_t*>(&buffer[1]), bytes / sizeof(wchar_t));
    }
    if (needed <= buffer.size() * sizeof(ULONG) || needed > 1 << 20) return std::nullopt;
    buffer.assign(needed / sizeof(ULONG) + 1, 0);
  }
  return std::nullopt;
}

// `name` starts with `prefix` (compared as the registry compares names) followed by the end or a
// backslash; the rest, from that backslash on.
std::optional<std::wstring_view> Below(std::wstring_view name, std::wstring_view prefix) {
  if (prefix.empty() || name.size() < prefix.size() ||
      CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, name.data(),
                     static_cast<int>(prefix.size()), prefix.data(),
                     static_cast<int>(prefix.size())) != CSTR_EQUAL)
    return std::nullopt;
  const std::wstring_view rest = name.substr(prefix.size());
  if (!rest.empty() && rest.front() != L'\\') return std::nullopt;
  return rest;
}

}  // namespace

std::optional<std::wstring> StoredNameOf(std::wstring_view systemName,
                                         std::wstring_view currentUserName) {
  std::vector<std::pair<std::wstring, std::wstring>> roots = {
      {L"\\REGISTRY\\MACHINE", L"HKEY_LOCAL_MACHINE"}};
  if (!currentUserName.empty()) {
    // The current user's classes are a registry file of their own, shown at Software\Classes.
    roots.emplace_back(std::wstring(currentUserName) + L"_Classes",
                       L"HKEY_CURRENT_USER\\Software\\Classes");
    roots.emplace_back(currentUserName, L"HKEY_CURRENT_USER");
  }
  roots.emplace_back(L"\\REGISTRY\\USER", L"HKEY_USERS");
  for (const auto& [prefix, rootName] : roots)
    if (const auto rest = Below(systemName, prefix)) return rootName + std::wstring(*rest);
  return std::nullopt;
}

std::optional<std::wstring> StoredName(HKEY key) {
  const std::optional<std::wstring> name = SystemName(key);
  if (!name) return std::nullopt;
  // A key of its own for the current user's root (opening HKEY_CURRENT_USER with no subkey may
  // give back the predefined handle, of which the system tells no name).
  HKEY user = nullptr;
  std::wstring userName;
  if (RegOpenCurrentUser(KEY_QUERY_VALUE, &user) == ERROR_SUCCESS) {
    const common::RegKey owned(user);
    userName = SystemName(user).value_or(L"");
  }
  return StoredNameOf(*name, userName);
}

Key Key::Open(HKEY parent, std::wstring_view path, REGSAM access) {
  HKEY key = nullptr;
  if (parent == nullptr ||
      RegOpenKeyExA(parent, common::ToAnsi(path).c_str(), 0, access, &key) != ERROR_SUCCESS)
    return Key();
  return Key(key);
}

std::vector<std::wstring> Key::SubkeyNames() const {
  // A key name has at most 255 characters, so the first buffer always does; asking the key for
  // its longest name first would cost a call to the registry for every key of a walk.
  return EnumerateNames(Get(), kFirstNameBuffer, [this](DWORD index, char* name, DWORD* length) {
    return RegEnumKeyExA(Get(), index, name, length, nullptr, nullptr, nullptr, nullptr);
  });
}

std::vector<std::wstring> Key::ValueNames() const {
  return EnumerateNames(
      Get(), InfoOf(Get()).maxValueNameLength, [this](DWORD index, char* name, DWORD* length) {
        return RegEnumValueA(Get(), index, name, length, nullptr, nullptr, nullptr, nullptr);
      });
}

std::vector<NamedValue> Key::Values() const {
  // Buffers that fit nearly every value, grown when one does not: asking the key for its
  // longest name and data first would cost a call to the registry for every key of a walk.
  std::vector<NamedValue> values;
  if (Get() == nullptr) return values;
  std::string name(kFirstNameBuffer, '\0');
  std::string data(kFirstDataBuffer, '\0');
  int retries = 0;
  for (DWORD index = 0;;) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataLength = static_cast<DWORD>(data.size());
    DWORD type = REG_NONE;
    LONG result = RegEnumValueA(Get(), index, name.data(), &nameLength, nullptr, &type,
                                reinterpret_cast<BYTE*>(data.data()), &dataLength);
    bool withData = true;
    if (result == ERROR_MORE_DATA) {
      // The name or the data is larger than its buffer (the system tells how large the data
      // is); try again with room for it, unless it keeps growing or is too large to read.
      const bool dataTooLarge = dataLength > data.size();
      const bool canGrow =
          dataTooLarge ? dataLength <= kLargestData : name.size() < kLargestNameBuffer;
      if (canGrow && ++retries < kValueRetries) {
        if (dataTooLarge)
          data.resize(dataLength);
        else
          name.resize(std::min<size_t>(name.size() * 4, kLargestNameBuffer));
        continue;
      }
      // Still too large: the name and type alone.
      nameLength = static_cast<DWORD>(name.size());
      result =
          RegEnumValueA(Get(), index, name.data(), &nameLength, nullptr, &type, nullptr, nullptr);
      withData = false;
      if (result == ERROR_MORE_DATA) {  // not even the name: this one value is skipped
        ++index;
        retries = 0;
        continue;
      }
    }
    if (result != ERROR_SUCCESS) break;  // no more values, or the key went away
    NamedValue value;
    value.Name =
        common::FromAnsi(std::string_view(name.data(), std::min<size_t>(nameLength, name.size())));
    value.Type = type;
    if (withData) value.Data.assign(data.data(), std::min<size_t>(dataLength, data.size()));
    values.push_back(std::move(value));
    ++index;
    retries = 0;
  }
  return values;
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
  if (!data) return std::nullopt;
  return TextOf(type, *data);
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

bool Key::SameThroughWide(std::wstring_view name, const std::wstring* text) const {
  if (Get() == nullptr) return false;
  const std::wstring wideName(name);
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(Get(), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return false;
  if (text == nullptr) return true;
  if ((type != REG_SZ && type != REG_EXPAND_SZ) || size > kLargestData) return false;
  std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
  DWORD got = static_cast<DWORD>(data.size() * sizeof(wchar_t));
  if (RegQueryValueExW(Get(), wideName.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(data.data()), &got) != ERROR_SUCCESS)
    return false;
  data.resize(std::min<size_t>(got / sizeof(wchar_t), data.size()));
  if (const size_t zero = data.find(L'\0'); zero != std::wstring::npos) data.resize(zero);
  return data == *text;
}

}  // namespace registry
