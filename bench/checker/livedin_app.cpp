// The programs of the lived-in prefix (livedin.cpp), one tiny program under many names: it only
// notes its own name and command line in C:\LivedIn\ran.log and ends, so that a test can tell
// that a registration started it.
#include <windows.h>

int wmain() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const wchar_t* name = self;
  for (const wchar_t* c = self; *c; ++c)
    if (*c == L'\\') name = c + 1;
  wchar_t line[4096];
  const wchar_t* commandLine = GetCommandLineW();
  int n = 0;
  for (const wchar_t* c = name; *c && n < 300; ++c) line[n++] = *c;
  line[n++] = L'|';
  for (const wchar_t* c = commandLine; *c && n < 4000; ++c) line[n++] = *c;
  line[n++] = L'\r';
  line[n++] = L'\n';
  char bytes[16384];
  const int size = WideCharToMultiByte(CP_UTF8, 0, line, n, bytes, sizeof(bytes), nullptr, nullptr);
  CreateDirectoryW(L"C:\\LivedIn", nullptr);
  const HANDLE log =
      CreateFileW(L"C:\\LivedIn\\ran.log", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(log, bytes, static_cast<DWORD>(size), &written, nullptr);
  CloseHandle(log);
  return 0;
}
