// A stand-in for the HTML Help control: it records every call of its HtmlHelpA, one line each,
// "owner|file|command|topic", for the test that loaded it to read back.
#include <windows.h>

#include <string>

namespace {
std::string calls;
}

extern "C" __declspec(dllexport) HWND WINAPI
    HtmlHelpA(HWND owner, LPCSTR file, UINT command, DWORD_PTR data) {
  calls += std::to_string(reinterpret_cast<UINT_PTR>(owner)) + "|" + (file ? file : "") + "|" +
           std::to_string(command) + "|" +
           (command == 0 && data ? reinterpret_cast<const char*>(data) : "") + "\n";
  return nullptr;
}

extern "C" __declspec(dllexport) const char* RecordedCalls() { return calls.c_str(); }
