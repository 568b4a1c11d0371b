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

common::RegKey OpenForWriting(HKEY root, std::wstring_view path) {
  HKEY key = nullptr;
  if (root == nullptr ||
      RegOpenKeyExA(root, common::ToAnsi(path).c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
    return {};
  return common::RegKey(key);
}

// Opens the key itself rather than what it links to, so that a link shows as one. A system that
// refuses the option shows no links.
bool IsLink(HKEY root, std::wstring_view path) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, common::ToAnsi(path).c_str(), kOpenLink, KEY_QUERY_VALUE, &opened) !=
      ERROR_SUCCESS)
    return false;
  const common::RegKey key(opened);
  DWORD type = 0;
  return RegQueryValueExA(key.Get(), "SymbolicLinkValue", nullptr, &type, nullptr, nullptr) ==
             ERROR_SUCCESS &&
         type == kLinkType;
}

// A text that a REGEDIT4 line carries unchanged: no line breaks or other control characters,
// and every character in the code page.
bool Writable(std::wstring_view text) {
  for (const wchar_t c : text)
    if (c < 0x20) return false;
  return common::FromAnsi(common::ToAnsi(text)) == text;
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

bool IsTextType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// What follows the "=" of a value line.
std::wstring DataText(const RawValue& value) {
  const std::string& data = value.data;
  if (value.type == REG_SZ && !data.empty() && data.find('\0') == data.size() - 1) {
    const std::string bytes = data.substr(0, data.size() - 1);
    const std::wstring text = common::FromAnsi(bytes);
    if (Writable(text) && common::ToAnsi(text) == bytes) return Quoted(text);
  }
  if (value.type == REG_DWORD && data.size() == sizeof(DWORD)) {
    DWORD number = 0;
    std::memcpy(&number, data.data(), sizeof(number));
    return L"dword:" + HexNumber(number, 8);
  }
  if (value.type == REG_BINARY) return HexData(data, L"hex:");
  // Everything else byte for byte (texts in the code page, as a REGEDIT4 file holds them); an
  // empty text keeps at least its terminating zero.
  std::string bytes = data;
  if (bytes.empty() && IsTextType(value.type)) bytes.push_back('\0');
  return HexData(bytes, L"hex(" + HexNumber(value.type, 1) + L"):");
}

std::optional<std::wstring> NamePart(std::wstring_view name) {
  if (name.empty()) return L"@";
  if (!Writable(name)) return std::nullopt;
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
  if (!Writable(name)) return std::nullopt;
  return L"[" + name + L"]\r\n";
}

// The key and, depth first, its subkeys; false when any of it cannot be written down whole.
bool AppendKey(HKEY root, const std::wstring& path, std::wstring& out) {
  if (IsLink(root, path)) return false;
  const Key key = Key::Open(root, path, KEY_READ);
  if (!key) return false;
  const std::optional<std::wstring> header = Header(root, path, key.Get());
  if (!header) return false;
  out += *header;
  const std::vector<std::wstring> values = key.ValueNames();
  if (static_cast<int>(values.size()) != key.ValueCount()) return false;  // one was unreadable
  for (const std::wstring& name : values) {
    const std::optional<std::wstring> namePart = NamePart(name);
    const std::optional<RawValue> value = key.ReadValue(name);
    if (!namePart || !value) return false;
    out += *namePart + L"=" + DataText(*value) + L"\r\n";
  }
  out += L"\r\n";
  const std::vector<std::wstring> subkeys = key.SubkeyNames();
  if (static_cast<int>(subkeys.size()) != key.SubkeyCount()) return false;
  for (const std::wstring& name : subkeys)
    if (name.empty() || !AppendKey(root, path + L"\\" + name, out)) return false;
  return true;
}

}  // namespace

bool DeleteValue(HKEY root, std::wstring_view path, std::wstring_view name) {
  const common::RegKey key = OpenForWriting(root, path);
  return key && RegDeleteValueA(key.Get(), common::ToAnsi(name).c_str()) == ERROR_SUCCESS;
}

bool WriteText(HKEY root, std::wstring_view path, std::wstring_view name, std::wstring_view text) {
  const common::RegKey key = OpenForWriting(root, path);
  const std::string bytes = common::ToAnsi(text);
  return key && RegSetValueExA(key.Get(), common::ToAnsi(name).c_str(), 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(bytes.c_str()),
                               static_cast<DWORD>(bytes.size() + 1)) == ERROR_SUCCESS;
}

bool DeleteKey(HKEY root, std::wstring_view path) {
  // An empty path would name the root itself.
  return root != nullptr && !path.empty() &&
         RegDeleteKeyA(root, common::ToAnsi(path).c_str()) == ERROR_SUCCESS;
}

std::optional<std::wstring> Regedit4Key(HKEY root, std::wstring_view path) {
  std::wstring out;
  if (!AppendKey(root, std::wstring(path), out)) return std::nullopt;
  return out;
}

std::optional<std::wstring> Regedit4Value(HKEY root, std::wstring_view path,
                                          std::wstring_view name) {
  const Key key = Key::Open(root, path, KEY_READ);
  if (!key) return std::nullopt;
  const std::optional<std::wstring> header = Header(root, path, key.Get());
  const std::optional<std::wstring> namePart = NamePart(name);
  if (!header || !namePart) return std::nullopt;
  if (!key.HasValue(name)) return *header + *namePart + L"=-\r\n\r\n";
  const std::optional<RawValue> value = key.ReadValue(name);
  if (!value) return std::nullopt;  // there, but unreadable: it could not be brought back
  return *header + *namePart + L"=" + DataText(*value) + L"\r\n\r\n";
}

}  // namespace registry
