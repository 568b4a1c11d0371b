#pragma once
// Functions that not every Windows we run on exports are found at run time, never imported: a
// program that imports a function its Windows lacks does not start at all. Each caller decides
// what to do when the function is missing.
#include <windows.h>

#include <type_traits>

namespace common {

// The address of the export `name` of a module the program already has loaded (the system DLLs
// it imports: kernel32, user32, advapi32, ...), or nullptr when the module is not loaded or this
// Windows does not export the name. Never loads a module: a bare DLL name handed to LoadLibrary
// could pick up a planted copy from the current folder.
FARPROC LookUpExport(const wchar_t* module, const char* name);

// The address of the export `name` of a system DLL that is loaded only now, on first use, from
// the system folder (never from the current folder): for large DLLs that a program needs only
// for a rare action, so that they cost nothing until then. nullptr when it cannot be had.
FARPROC LoadSystemExport(const wchar_t* module, const char* name);

// The same, typed: LookUp<BOOL(WINAPI*)(HANDLE, PBOOL)>(L"kernel32.dll", "IsWow64Process").
template <typename Function>
Function LookUp(const wchar_t* module, const char* name) {
  static_assert(std::is_pointer_v<Function> && std::is_function_v<std::remove_pointer_t<Function>>,
                "LookUp gives function pointers");
  // Through the generic function type, which every function pointer may be cast to and from.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(LookUpExport(module, name)));
}

// LoadSystemExport, typed.
template <typename Function>
Function LoadSystem(const wchar_t* module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(LoadSystemExport(module, name)));
}

}  // namespace common
