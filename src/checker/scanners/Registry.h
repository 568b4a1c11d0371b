#pragma once
// The checker's registry access. Keys are opened without ever being created; names and texts
// come through the registry's ANSI functions, as the rows show them and as repair finds them
// again. Every failure reads as absence: a key that cannot be opened has no subkeys, no values
// and an empty default; a value that cannot be read is empty.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/handles.h"

namespace registry {

// The five root keys by the names the result rows give them ("HKEY_CLASSES_ROOT",
// "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS", "HKEY_CURRENT_CONFIG").
std::wstring RootName(HKEY root);         // empty for any other handle
// Two names the same as the registry (and the file system) compares them: case aside.
bool SameName(std::wstring_view a, std::wstring_view b);
HKEY RootByName(std::wstring_view name);  // null for any other text (exact case)

// A root key as one registry view shows it: `flags` (KEY_WOW64_64KEY, KEY_WOW64_32KEY or 0 for
// the program's own view) go with every opening below it. Tests let an open private key stand
// for a root.
struct View {
  HKEY root;
  REGSAM flags;
};

// Where an open key really is, named from the root that holds it as stored: a key a 32-bit
// program opened as HKEY_LOCAL_MACHINE\Software\X on 64-bit Windows is
// "HKEY_LOCAL_MACHINE\Software\Wow6432Node\X"; one opened through HKEY_CLASSES_ROOT is under
// HKEY_LOCAL_MACHINE\Software\Classes or HKEY_CURRENT_USER\Software\Classes. A registry file
// that names keys so is imported into the same place by the 32-bit and the 64-bit registry
// editor alike. None when the system does not tell (it is asked through ntdll at run time).
std::optional<std::wstring> StoredName(HKEY key);
// The naming rule alone: the system's own name of a key ("\REGISTRY\MACHINE\SOFTWARE\X")
// under the root names of the result rows, given the system's name of the current user's key
// ("\REGISTRY\USER\S-1-5-21-..."); none for a name under no known root.
std::optional<std::wstring> StoredNameOf(std::wstring_view systemName,
                                         std::wstring_view currentUserName);

// One value as an enumeration of its key gives it.
struct NamedValue {
  std::wstring Name;
  DWORD Type = REG_NONE;
  std::string Data;  // the raw bytes; ANSI text for the string types
};

// The text of string data (REG_SZ, or REG_EXPAND_SZ as stored, unexpanded) up to its first
// terminating zero, or all of it when it has none; none for data of another type.
std::optional<std::wstring> TextOf(DWORD type, std::string_view data);

// A value's type and data as the ANSI functions give them (texts in the ANSI code page).
struct RawValue {
  DWORD type = REG_NONE;
  std::string data;
};

class Key {
 public:
  Key() = default;
  // Opens `path` below `parent` (an empty path opens `parent` again); never creates it. The key
  // is false when it cannot be opened.
  static Key Open(HKEY parent, std::wstring_view path, REGSAM access = KEY_READ);

  explicit operator bool() const { return static_cast<bool>(key_); }
  HKEY Get() const { return key_.Get(); }

  std::vector<std::wstring> SubkeyNames() const;
  std::vector<std::wstring> ValueNames() const;
  // Every value with its type and data, in enumeration order, in one pass over the key. A value
  // whose data cannot be read (it keeps growing, or is larger than anything a path could be)
  // comes with its name and type and without data.
  std::vector<NamedValue> Values() const;
  int SubkeyCount() const;
  int ValueCount() const;
  bool HasSubkey(std::wstring_view name) const;  // it exists and opens for reading
  bool HasValue(std::wstring_view name) const;
  // The type of a value, none when it does not exist.
  std::optional<DWORD> ValueType(std::wstring_view name) const;
  // The text of a string value (REG_SZ, or REG_EXPAND_SZ as stored, unexpanded), up to its first
  // terminating zero; none when it is missing, unreadable or of another type.
  std::optional<std::wstring> ReadText(std::wstring_view name) const;
  // The key's unnamed value as text, empty when there is none.
  std::wstring DefaultText() const;
  // A REG_DWORD value; none for any other type.
  std::optional<DWORD> ReadDword(std::wstring_view name) const;
  // Any value as stored; none when it is missing or unreadable.
  std::optional<RawValue> ReadValue(std::wstring_view name) const;
  // True when the value `name`, asked for through the wide functions, exists and, when `text` is
  // given, holds that text as a string (up to its first zero). So the name and the text came
  // through the ANSI functions whole: a character the code page cannot hold reads back as "?"
  // (or as a look-alike letter), and a path read that way is not the path the value names.
  bool SameThroughWide(std::wstring_view name, const std::wstring* text = nullptr) const;

 private:
  explicit Key(HKEY key) : key_(key) {}
  common::RegKey key_;
};

}  // namespace registry
