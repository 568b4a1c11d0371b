// A stand-in for the programs that the launchers start (a print application, rundll32): it
// appends one line to "<its own name>.log" beside itself, "<show>\t<command line>" in UTF-8,
// where <show> is the window style it was started with (-1 when none was given). While a file
// "<its own name>.hold" exists beside it, it stays running (at most 30 seconds), so that a test
// can see that its starter did not wait for it.
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n,
                      nullptr, nullptr);
  return bytes;
}

void Append(const std::wstring& path, const std::string& bytes) {
  // Several stand-ins may start at once: retry while another one holds the file.
  for (int attempt = 0; attempt < 200; ++attempt) {
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
      CloseHandle(file);
      return;
    }
    Sleep(10);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring base = module;
  const size_t dot = base.find_last_of(L'.');
  if (dot != std::wstring::npos && dot > base.find_last_of(L'\\')) base.resize(dot);

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  GetStartupInfoW(&startup);
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
  Append(base + L".log", Utf8(std::to_wstring(show) + L"\t" + GetCommandLineW() + L"\n"));

  const std::wstring hold = base + L".hold";
  for (int waited = 0; waited < 30000; waited += 20) {
    if (GetFileAttributesW(hold.c_str()) == INVALID_FILE_ATTRIBUTES) break;
    Sleep(20);
  }
  return 0;
}
