#include "common/lookup.h"

namespace common {

FARPROC LookUpExport(const wchar_t* module, const char* name) {
  const HMODULE loaded = GetModuleHandleW(module);
  return loaded ? GetProcAddress(loaded, name) : nullptr;
}

}  // namespace common
