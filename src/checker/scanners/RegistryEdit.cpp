#include "checker/scanners/RegistryEdit.h"

#include <cstring>
#include <vector>

#include "checker/scanners/Registry.h"
#include "common/handles.h"
#include "common/text.h"

namespace registry {

namespace {

constexpr DWORD kOpenLink = 0x00000008;  // REG_OPTION_OPEN_LINK
constexpr DWORD kLinkType = 6;           // REG_LINK
// Hex data is broken into lines as the registry editor breaks it.
constexpr size_t kHexBytesPerLine = 24;
// The longest value name the registry allows, in characters, with its terminator.
constexpr DWORD kMaxValueName = 16384;
// Data larger than this is not written down (nor, then, deleted): a journal is not the place for
// it, and no scan reports such a value for what it holds.
constexpr DWORD kMaxData = 64u << 20;

// The key opened to change its values; the system's error code when it cannot be.
LONG OpenForWriting(HKEY root, std::wstring_view path, common::RegKey& opened) {
  if (root == nullptr) return ERROR_INVALID_HANDLE;
  HKEY key = nullptr;
  const LONG result = RegOpenKeyExA(root, common::ToAnsi(path).c_str(), 0, KEY_SET_VALUE, &key);
  if (result == ERROR_SUCCESS) opened = common::RegKey(key);
  return result;
}

common::RegKey OpenWide(HKEY root, std::wstring_view path, REGSAM access, DWORD options = 0) {
  HKEY key = nullptr;
  const std::wstring text(path);
  if (root == nullptr || RegOpenKeyExW(root, text.c_str(), options, access, &key) != ERROR_SUCCESS)
    return {};
  return common::RegKey(key);
}

// Opens the key itself rather than what it links to, so that a link shows as one. A system that
// refuses the option shows no links.
bool IsLink(HKEY root, std::wstring_view path) {
  const common::RegKey key = OpenWide(root, path, KEY_QUERY_VALUE, kOpenLink);
  DWORD type = 0;
  return key &&
         RegQueryValueExW(key.Get(), L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) ==
             ERROR_SUCCESS &&
         type == kLinkType;
}

struct WideValue {
  std::wstring name;
  DWORD type = REG_NONE;
  std::string data;  // the bytes as stored
};

// Every value of the key, in enumeration order; none when any of them cannot be read.
std::optional<std::vector<WideValue>> ValuesOf(HKEY key) {
  std::vector<WideValue> values;
  std::vector<wchar_t> name(kMaxValueName);
  std::vector<BYTE> data(4096);
  for (DWORD index = 0;;) {
    DWORD nameLength = kMaxValueName, dataLength = static_cast<DWORD>(data.size()), type = 0;
    const LONG result = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type,
                                      data.data(), &dataLength);
    if (result == ERROR_NO_MORE_ITEMS) return values;
    if (result == ERROR_MORE_DATA && dataLength > data.size() && dataLength <= kMaxData) {
      data.resize(dataLength);  // the same value again, with room for its data
      continue;
    }
    if (result != ERROR_SUCCESS) return std::nullopt;
    values.push_back({std::wstring(name.data(), nameLength), type,
                      std::string(reinterpret_cast<const char*>(data.data()), dataLength)});
    ++index;
  }
}

// One value; none when it is not there, nothing when it cannot be read. Taken from the key's
// enumeration, which gives the bytes exactly as stored (a query may add a terminator to text
// stored without one).
std::optional<std::optional<WideValue>> ValueOf(HKEY key, std::wstring_view name) {
  const std::optional<std::vector<WideValue>> values = ValuesOf(key);
  if (!values) return std::nullopt;
  for (const WideValue& value : *values)
    if (SameName(value.name, name)) return std::optional<WideValue>(value);
  return std::optional<WideValue>();
}

// A text that a line of a registry file carries as it is: no line breaks or other control
// characters.
bool LineSafe(std::wstring_view text) {
  for (const wchar_t c : text)
    if (c < 0x20) return false;
  return true;
}

std::wstring Quoted(std::wstring_view text) {
  std::wstring out = L"\"";
  for (const wchar_t c : text) {
    if (c == L'\\' || c == L'"') out += L'\\';
    out += c;
  }
  return out + L"\"";
}

std::wstring HexNumber(unsigned long value, int digits) {
  static constexpr wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring text;
  do {
    text.insert(text.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0 || static_cast<int>(text.size()) < digits);
  return text;
}

std::wstring HexData(const std::string& data, const std::wstring& prefix) {
  std::wstring out = prefix;
  for (size_t i = 0; i < data.size(); ++i) {
    if (i > 0) out += i % kHexBytesPerLine == 0 ? L",\\\r\n  " : L",";
    out += HexNumber(static_cast<unsigned char>(data[i]), 2);
  }
  return out;
}

// The text of REG_SZ data that a quoted line gives back byte for byte: whole UTF-16 units, one
// terminator at the end and none before it, nothing a line cannot carry.
std::optional<std::wstring> QuotableText(const std::string& data) {
  if (data.size() < sizeof(wchar_t) || data.size() % sizeof(wchar_t) != 0) return std::nullopt;
  std::wstring text(data.size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), data.data(), data.size());
  if (text.back() != L'\0') return std::nullopt;
  text.pop_back();
  if (text.find(L'\0') != std::wstring::npos || !LineSafe(text)) return std::nullopt;
  return text;
}

// What follows the "=" of a value line.
std::wstring DataText(const WideValue& value) {
  if (value.type == REG_SZ)
    if (const std::optional<std::wstring> text = QuotableText(value.data)) return Quoted(*text);
  if (value.type == REG_DWORD && value.data.size() == sizeof(DWORD)) {
    DWORD number = 0;
    std::memcpy(&number, value.data.data(), sizeof(number));
    return L"dword:" + HexNumber(number, 8);
  }
  if (value.type == REG_BINARY) return HexData(value.data, L"hex:");
  // Everything else byte for byte (texts as the UTF-16 the registry holds).
  return HexData(value.data, L"hex(" + HexNumber(value.type, 1) + L"):");
}

std::optional<std::wstring> NamePart(std::wstring_view name) {
  if (name.empty()) return L"@";
  if (!LineSafe(name)) return std::nullopt;
  return Quoted(name);
}

// The header line of the open `key`, which is `path` below `root`: the key named where it is
// stored (so that a 32-bit program's key on 64-bit Windows comes back into the 32-bit view
// whichever registry editor imports the file), or by the names it was opened with where the
// system does not tell.
std::optional<std::wstring> Header(HKEY root, std::wstring_view path, HKEY key) {
  std::wstring name;
  if (const std::optional<std::wstring> stored = StoredName(key)) {
    name = *stored;
  } else {
    const std::wstring rootName = RootName(root);
    if (rootName.empty()) return std::nullopt;
    name = rootName + (path.empty() ? L"" : L"\\" + std::wstring(path));
  }
  if (!LineSafe(name)) return std::nullopt;
  return L"[" + name + L"]\r\n";
}

std::optional<std::vector<std::wstring>> SubkeysOf(HKEY key) {
  std::vector<std::wstring> names;
  wchar_t name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = 256;
    const LONG result =
        RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) return names;
    if (result != ERROR_SUCCESS) return std::nullopt;
    names.emplace_back(name, length);
  }
}

// The key and, depth first, its subkeys; false when any of it cannot be written down whole.
bool AppendKey(HKEY root, const std::wstring& path, std::wstring& out) {
  if (IsLink(root, path)) return false;
  const common::RegKey key = OpenWide(root, path, KEY_READ);
  if (!key) return false;
  const std::optional<std::wstring> header = Header(root, path, key.Get());
  const std::optional<std::vector<WideValue>> values = ValuesOf(key.Get());
  if (!header || !values) return false;
  out += *header;
  for (const WideValue& value : *values) {
    const std::optional<std::wstring> namePart = NamePart(value.name);
    if (!namePart) return false;
    out += *namePart + L"=" + DataText(value) + L"\r\n";
  }
  out += L"\r\n";
  const std::optional<std::vector<std::wstring>> subkeys = SubkeysOf(key.Get());
  if (!subkeys) return false;
  for (const std::wstring& name : *subkeys)
    if (name.empty() || !AppendKey(root, path + L"\\" + name, out)) return false;
  return true;
}

}  // namespace

LONG DeleteValue(HKEY root, std::wstring_view path, std::wstring_view name) {
  common::RegKey key;
  const LONG opened = OpenForWriting(root, path, key);
  if (opened != ERROR_SUCCESS) return opened;
  return RegDeleteValueA(key.Get(), common::ToAnsi(name).c_str());
}

LONG WriteText(HKEY root, std::wstring_view path, std::wstring_view name, std::wstring_view text) {
  common::RegKey key;
  const LONG opened = OpenForWriting(root, path, key);
  if (opened != ERROR_SUCCESS) return opened;
  const std::string bytes = common::ToAnsi(text);
  return RegSetValueExA(key.Get(), common::ToAnsi(name).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(bytes.c_str()),
                        static_cast<DWORD>(bytes.size() + 1));
}

LONG DeleteKey(HKEY root, std::wstring_view path) {
  // An empty path would name the root itself.
  if (root == nullptr || path.empty()) return ERROR_INVALID_PARAMETER;
  return RegDeleteKeyA(root, common::ToAnsi(path).c_str());
}

std::optional<std::wstring> RegFileKey(HKEY root, std::wstring_view path) {
  std::wstring out;
  if (!AppendKey(root, std::wstring(path), out)) return std::nullopt;
  return out;
}

std::optional<std::wstring> RegFileValue(HKEY root, std::wstring_view path,
                                         std::wstring_view name) {
  const common::RegKey key = OpenWide(root, path, KEY_READ);
  if (!key) return std::nullopt;
  const std::optional<std::wstring> header = Header(root, path, key.Get());
  const std::optional<std::wstring> namePart = NamePart(name);
  const std::optional<std::optional<WideValue>> value = ValueOf(key.Get(), name);
  // There, but unreadable: it could not be brought back.
  if (!header || !namePart || !value) return std::nullopt;
  if (!*value) return *header + *namePart + L"=-\r\n\r\n";
  return *header + *namePart + L"=" + DataText(**value) + L"\r\n\r\n";
}

std::optional<std::vector<std::wstring>> SubkeyNamesOf(HKEY root, std::wstring_view path) {
  const common::RegKey key = OpenWide(root, path, KEY_ENUMERATE_SUB_KEYS);
  if (!key) return std::nullopt;
  return SubkeysOf(key.Get());
}

bool DeleteSubkey(HKEY root, std::wstring_view path) {
  const std::wstring text(path);
  return root != nullptr && !path.empty() && RegDeleteKeyW(root, text.c_str()) == ERROR_SUCCESS;
}

}  // namespace registry
