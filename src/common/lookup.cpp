#include "common/lookup.h"

#include <string>

namespace common {

FARPROC LookUpExport(const wchar_t* module, const char* name) {
  const HMODULE loaded = GetModuleHandleW(module);
  return loaded ? GetProcAddress(loaded, name) : nullptr;
}

FARPROC LoadSystemExport(const wchar_t* module, const char* name) {
  if (FARPROC found = LookUpExport(module, name)) return found;
  wchar_t folder[MAX_PATH] = {};
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder) + L"\\" + module;
  // Kept loaded for the life of the program, like an imported DLL.
  const HMODULE loaded = LoadLibraryW(path.c_str());
  return loaded ? GetProcAddress(loaded, name) : nullptr;
}

}  // namespace common
