#pragma once
// What the registry editor's files hold, looked at before a backup is kept and before one is
// imported: a registry editor file (its header line: "Windows Registry Editor Version 5.00" in
// UTF-16 with its byte-order mark, or "REGEDIT4" in the code page) that ends whole, and for a
// backup of the whole registry, the sections of the roots an export of the whole registry
// holds. Kept apart from the windows so that it can be tested on bytes.
#include <string>
#include <string_view>

enum class RegistryFileState {
  Whole,
  Missing,          // no file, or it cannot be read
  Empty,
  NotRegistryFile,  // no registry editor header
  CutShort,         // does not end with a whole line (an export stopped half way)
  RootsMissing,     // a whole-registry export without HKEY_LOCAL_MACHINE or HKEY_USERS
};

// The state of a registry editor file's bytes; `wholeRegistry` asks for the roots of an export
// of the whole registry as well.
RegistryFileState CheckRegistryFile(std::string_view bytes, bool wholeRegistry);

// The same for a file on disk.
RegistryFileState CheckRegistryFileAt(const std::wstring& path, bool wholeRegistry);
