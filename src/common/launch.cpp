#include "common/launch.h"

#include <shellapi.h>

#include <vector>

#include "common/handles.h"
#include "common/lookup.h"
#include "common/text.h"

namespace common {

INT_PTR ShellExecuteAnsi(HWND owner, const std::wstring& verb, const std::wstring& file, int show) {
  // The shell DLL brings a good part of the system's shell with it; it is loaded at the first
  // launch rather than at start, when a program only opens links now and then.
  using ShellExecuteAFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
  static const auto shellExecute =
      LoadSystem<ShellExecuteAFunction>(L"shell32.dll", "ShellExecuteA");
  if (shellExecute == nullptr) return SE_ERR_NOASSOC;
  const HINSTANCE result =
      shellExecute(owner, ToAnsi(verb).c_str(), ToAnsi(file).c_str(), "", "", show);
  return reinterpret_cast<INT_PTR>(result);
}

StartResult StartCommandLine(const std::wstring& commandLine, int show) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION info = {};
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');
  StartResult result;
  if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &info)) {
    KernelHandle process(info.hProcess);
    KernelHandle thread(info.hThread);
    result.started = true;
  } else {
    result.error = GetLastError();
  }
  return result;
}

std::wstring SystemErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n ? std::wstring(buffer, n) : std::wstring();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
    text.pop_back();
  if (text.empty()) text = L"错误 " + std::to_wstring(error);
  return text;
}

}  // namespace common
