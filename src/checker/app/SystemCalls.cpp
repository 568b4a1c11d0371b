#include "checker/app/SystemCalls.h"

#include <shellapi.h>
#include <shlobj.h>

#include <memory>
#include <vector>

#include "common/handles.h"
#include "common/paths.h"
#include "common/profile.h"
#include "common/text.h"

namespace {

// An item id list from the shell, freed with the shell's allocator.
struct PidlDeleter {
  void operator()(ITEMIDLIST* pidl) const { CoTaskMemFree(pidl); }
};

}  // namespace

std::optional<DWORD> RunAndWait(const std::wstring& commandLine, HWND owner,
                                const std::function<void()>& pump) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION info = {};
  std::string line = common::ToAnsi(commandLine);
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE,
                      CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                      &info))
    return std::nullopt;
  const common::KernelHandle process(info.hProcess);
  const common::KernelHandle thread(info.hThread);

  const bool disabled = owner != nullptr && IsWindow(owner) && IsWindowEnabled(owner);
  if (disabled) EnableWindow(owner, FALSE);
  bool ended = false;
  for (;;) {
    const HANDLE handle = process.Get();
    const DWORD woke = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT);
    ended = woke == WAIT_OBJECT_0;
    if (woke != WAIT_OBJECT_0 + 1) break;  // ended (or the wait failed)
    if (pump) pump();
  }
  if (disabled && IsWindow(owner)) EnableWindow(owner, TRUE);
  DWORD code = 0;
  if (!ended || !GetExitCodeProcess(process.Get(), &code)) return std::nullopt;
  return code;
}

void OpenAddress(HWND owner, const std::wstring& address) {
  // No browser or mail program is no error of ours: the system tells the user, or nothing does.
  ShellExecuteA(owner, nullptr, common::ToAnsi(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::wstring GetSpecialFolder(HWND owner, int csidl) {
  ITEMIDLIST* raw = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(owner, csidl, &raw)) || raw == nullptr) return {};
  const std::unique_ptr<ITEMIDLIST, PidlDeleter> pidl(raw);
  char path[MAX_PATH] = {};
  if (!SHGetPathFromIDListA(pidl.get(), path)) return {};
  return common::FromAnsi(path);
}

std::optional<std::wstring> WindowsDirectory() {
  char buffer[261] = {};
  const UINT length = GetWindowsDirectoryA(buffer, sizeof(buffer));
  if (length == 0 || length >= sizeof(buffer)) return std::nullopt;
  return common::FromAnsi(std::string_view(buffer, length));
}

int OperatingSystemCount(const std::wstring& bootIniPath) {
  if (!common::FileExists(bootIniPath)) return 0;
  return static_cast<int>(common::ReadProfileKeyNames(bootIniPath, L"operating systems").size());
}
