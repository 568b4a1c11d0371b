#pragma once
// Changes to the registry that repair makes, and the registry-file text of what it is about to
// change, for the undo journal. Keys are opened for writing without ever being created; the
// changes go through the registry's ANSI functions, as the result rows name keys and values.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace registry {

// Each returns the system's error code (ERROR_SUCCESS when done), so that a caller can tell a
// missing key from one it has no right to change (ERROR_ACCESS_DENIED).
//
// RegDeleteValueA on the key `path` below `root`.
LONG DeleteValue(HKEY root, std::wstring_view path, std::wstring_view name);
// Writes a REG_SZ value (name "" for the key's unnamed value) into an existing key.
LONG WriteText(HKEY root, std::wstring_view path, std::wstring_view name, std::wstring_view text);
// RegDeleteKeyA: Windows 95, 98 and ME take the subkeys with the key; the NT family refuses a
// key that still has subkeys.
LONG DeleteKey(HKEY root, std::wstring_view path);

// The first line of a Unicode registry file ("Windows Registry Editor Version 5.00"), which
// every registry editor from Windows 2000 on imports. The file is UTF-16LE with its byte-order
// mark.
inline constexpr wchar_t kRegFileHeader[] = L"Windows Registry Editor Version 5.00";

// Registry-file text of a Unicode registry file, ending in an empty line. Everything is read
// through the registry's wide functions and written so that importing the text puts back exactly
// the bytes that were there, in any language: a text that a quoted line cannot carry (line
// breaks, a missing or an extra terminator) goes as its bytes. Keys are named where they are
// stored (see StoredName), so that the text brings them back into the same registry view
// whichever registry editor imports it.
//
// The key with all its values and, after it, all its subkeys with theirs. None when any part of
// it cannot be read, when a key of it is a registry link (importing would make a plain key of
// it, and deleting through it would reach its target), or when a name cannot stand in a line
// (a line break or another control character in it).
std::optional<std::wstring> RegFileKey(HKEY root, std::wstring_view path);
// The key's header and one value line; a value that is not there is written as removed
// ("name"=-), so that importing the text leaves it absent again. None when the key cannot be
// opened or the name cannot stand in a line.
std::optional<std::wstring> RegFileValue(HKEY root, std::wstring_view path,
                                         std::wstring_view name);

// Every subkey name of a key, through the wide functions (names in any language); none when the
// key cannot be opened or listed.
std::optional<std::vector<std::wstring>> SubkeyNamesOf(HKEY root, std::wstring_view path);
// RegDeleteKeyW, for subkeys named by SubkeyNamesOf.
bool DeleteSubkey(HKEY root, std::wstring_view path);

}  // namespace registry
