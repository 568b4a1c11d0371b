#pragma once
// Changes to the registry that repair makes, and the REGEDIT4 text of what it is about to
// change, for the undo journal. Keys are opened for writing without ever being created; names
// and texts go through the registry's ANSI functions, as the result rows show them.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace registry {

// RegDeleteValueA on the key `path` below `root`; false when the key or the value is missing or
// the value cannot be deleted.
bool DeleteValue(HKEY root, std::wstring_view path, std::wstring_view name);
// Writes a REG_SZ value (name "" for the key's unnamed value) into an existing key.
bool WriteText(HKEY root, std::wstring_view path, std::wstring_view name, std::wstring_view text);
// RegDeleteKeyA: Windows 95, 98 and ME take the subkeys with the key; the NT family refuses a
// key that still has subkeys.
bool DeleteKey(HKEY root, std::wstring_view path);

// REGEDIT4 text (wide; written out in the ANSI code page, as the registry editor reads a
// REGEDIT4 file), ending in a line break. Keys are named where they are stored (see
// StoredName), so that the text brings them back into the same registry view whichever
// registry editor imports it.
//
// The key with all its values and, after it, all its subkeys with theirs. None when any part of
// it cannot be read, when a key of it is a registry link (importing would make a plain key of
// it, and deleting through it would reach its target), or when a name cannot stand in a
// REGEDIT4 line (a line break in it, a character the code page lacks).
std::optional<std::wstring> Regedit4Key(HKEY root, std::wstring_view path);
// The key's header and one value line; a value that is not there is written as removed
// ("name"=-), so that importing the text leaves it absent again. None when the key cannot be
// opened or the name cannot stand in a REGEDIT4 line.
std::optional<std::wstring> Regedit4Value(HKEY root, std::wstring_view path,
                                          std::wstring_view name);

}  // namespace registry
