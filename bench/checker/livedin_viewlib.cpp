// The DLL of the lived-in prefix's ViewLib (livedin.cpp): rundll32 runs its "View" and
// "Uninstall", each of which only notes its command line in C:\LivedIn\ran.log.
#include <windows.h>

#include <string>

namespace {

void Note(const char* what, const char* commandLine) {
  const std::string line = std::string("viewlib.dll|") + what + "|" + commandLine + "\r\n";
  const HANDLE log =
      CreateFileW(L"C:\\LivedIn\\ran.log", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(log);
}

}  // namespace

extern "C" __declspec(dllexport) void CALLBACK View(HWND, HINSTANCE, LPSTR commandLine, int) {
  Note("View", commandLine);
}

extern "C" __declspec(dllexport) void CALLBACK Uninstall(HWND, HINSTANCE, LPSTR commandLine, int) {
  Note("Uninstall", commandLine);
}
