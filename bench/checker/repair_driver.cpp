// Helper of repair_roundtrip.sh, run inside its Wine prefix:
//   repair_driver links <folder> <count>  makes <count> shortcuts to missing programs in <folder>
//   repair_driver repair [ROWS]           in the running Sanivo: scan with every ticked check,
//                                         then repair all (no backup first, then yes); prints
//                                         the findings and both times, and writes every row
//                                         found to ROWS (item TAB location TAB key name TAB
//                                         description, UTF-8, one a line) when it is given
//   repair_driver scan ROWS               the same without the repair
//   ... --all                             (last) ticks every check first, the last row's too
//   repair_driver close                   closes the running Sanivo
//   repair_driver starts                  starts notepad, regedit and the Control Panel and
//                                         counts those that show a window
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "checker/app/CommandIds.h"
#include "support/controls.h"
#include "support/testing.h"

namespace {

constexpr int kRepairedImage = 9;

template <typename Done>
bool Wait(int ms, const Done& done) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (!done()) {
    if (static_cast<int>(end - GetTickCount()) < 0) return false;
    Sleep(50);
  }
  return true;
}

std::wstring Text(HWND window) {
  wchar_t text[512] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 2000,
                      nullptr);
  return text;
}

void Print(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), n, nullptr, nullptr);
  std::printf("%s\n", bytes.c_str());
  std::fflush(stdout);
}

HWND Box(DWORD processId) {
  HWND box = nullptr;
  while ((box = FindWindowExW(nullptr, box, L"#32770", L"Sanivo")) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(box, &owner);
    if (owner == processId && IsWindowVisible(box)) return box;
  }
  return nullptr;
}

// Rows of the result list of another process (of the same bitness) that do not carry the
// picture of a repaired row; each is printed.
int RowsNotMarked(DWORD processId, HWND list) {
  const HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (!process) return -1;
  constexpr int kTextLength = 512;
  auto* remote = static_cast<char*>(VirtualAllocEx(process, nullptr,
                                                   sizeof(LVITEMW) + kTextLength * sizeof(wchar_t),
                                                   MEM_COMMIT, PAGE_READWRITE));
  const auto text = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
  int count = 0;
  for (int i = 0; remote && i < ListView_GetItemCount(list); ++i) {
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = i;
    WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote));
    ReadProcessMemory(process, remote, &item, sizeof(item), nullptr);
    if (item.iImage == kRepairedImage) continue;
    ++count;
    std::wstring row;
    for (int column = 0; column < 3; ++column) {
      item = {};
      item.iSubItem = column;
      item.pszText = text;
      item.cchTextMax = kTextLength;
      WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
      SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(remote));
      wchar_t local[kTextLength] = {};
      ReadProcessMemory(process, text, local, sizeof(local) - sizeof(wchar_t), nullptr);
      row += (column ? L" | " : L"  left: ") + std::wstring(local);
    }
    Print(row);
  }
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return count;
}

// The texts of every row of the result list of another process (of the same bitness), columns
// joined by tabs.
std::vector<std::wstring> AllRows(DWORD processId, HWND list) {
  std::vector<std::wstring> rows;
  const HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (!process) return rows;
  constexpr int kTextLength = 2048;
  auto* remote = static_cast<char*>(VirtualAllocEx(process, nullptr,
                                                   sizeof(LVITEMW) + kTextLength * sizeof(wchar_t),
                                                   MEM_COMMIT, PAGE_READWRITE));
  const auto text = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
  for (int i = 0; remote && i < ListView_GetItemCount(list); ++i) {
    std::wstring row;
    for (int column = 0; column < 4; ++column) {
      LVITEMW item = {};
      item.iSubItem = column;
      item.pszText = text;
      item.cchTextMax = kTextLength;
      WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
      SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(remote));
      wchar_t local[kTextLength] = {};
      ReadProcessMemory(process, text, local, sizeof(local) - sizeof(wchar_t), nullptr);
      row += (column ? L"\t" : L"") + std::wstring(local);
    }
    rows.push_back(row);
  }
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return rows;
}

void WriteRows(const std::wstring& file, const std::vector<std::wstring>& rows) {
  std::string bytes;
  for (const std::wstring& row : rows) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, row.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string line(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, row.c_str(), -1, line.data(), n, nullptr, nullptr);
    bytes += line + "\n";
  }
  testing_support::WriteFileBytes(file, bytes);
}

HWND Sanivo() {
  HWND form = nullptr;
  Wait(20000, [&] {
    form = FindWindowW(L"TForm1", nullptr);
    return form != nullptr && IsWindowVisible(form);
  });
  return form;
}

int MakeLinks(const std::wstring& folder, int count) {
  if (FAILED(CoInitialize(nullptr))) return 1;
  for (int i = 1; i <= count; ++i) {
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
      return 1;
    link->SetPath((L"C:\\PlantMissing\\tool" + std::to_wstring(i) + L".exe").c_str());
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      file->Save((folder + L"\\Plant tool " + std::to_wstring(i) + L".lnk").c_str(), TRUE);
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return 0;
}

int ScanAndRepairAll(const std::wstring& rowsFile, bool repair, bool allChecks) {
  const HWND form = Sanivo();
  if (!form) return 1;
  if (allChecks) {
    // "全否" first clears every tick, then "全选" sets them all.
    SendMessageW(form, WM_COMMAND, cmd::kSelectAll, 0);
    SendMessageW(form, WM_COMMAND, cmd::kSelectAll, 0);
  }
  DWORD processId = 0;
  GetWindowThreadProcessId(form, &processId);
  const HWND status = testing_support::ChildWithId(form, cmd::kStatusBar1);
  const HWND list = testing_support::ChildWithId(form, cmd::kListView2);
  DWORD start = GetTickCount();
  PostMessageW(form, WM_COMMAND, cmd::kScan, 0);
  const std::wstring finished = L"扫描完毕";
  Wait(1800000, [&] { return Text(status).compare(0, finished.size(), finished) == 0; });
  Print(Text(status));
  std::printf("findings %ld, scan %.1f s\n", static_cast<long>(ListView_GetItemCount(list)),
              (GetTickCount() - start) / 1000.0);
  if (!rowsFile.empty()) WriteRows(rowsFile, AllRows(processId, list));
  if (!repair) return 0;
  start = GetTickCount();
  PostMessageW(form, WM_COMMAND, cmd::kRepairAll, 0);
  const std::wstring repaired = L"全部修复完毕";
  int answered = 0;
  Wait(1800000, [&] {
    if (const HWND box = Box(processId)) {
      PostMessageW(box, WM_COMMAND, answered++ == 0 ? IDCANCEL : IDOK, 0);
      Wait(5000, [&] { return !IsWindow(box); });
    }
    return Text(status).compare(0, repaired.size(), repaired) == 0;
  });
  Print(Text(status));
  std::printf("repair of all rows %.1f s, rows left unmarked (refused or changed) %d\n",
              (GetTickCount() - start) / 1000.0, RowsNotMarked(processId, list));
  PostMessageW(form, WM_CLOSE, 0, 0);
  return 0;
}

int StartPrograms() {
  int shown = 0;
  for (const wchar_t* program : {L"notepad.exe", L"regedit.exe", L"control.exe"}) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    std::wstring line = program;
    const bool started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &startup, &info) != FALSE;
    // A visible top-level window of the process (the Control Panel may hand over to another
    // process: then its window by title).
    bool window = started && Wait(15000, [&] {
                    return !testing_support::VisibleWindowsOf(info.dwProcessId).empty();
                  });
    if (!window && lstrcmpW(program, L"control.exe") == 0)
      window = FindWindowW(nullptr, L"Control Panel") || FindWindowW(nullptr, L"控制面板");
    Print(std::wstring(program) + (window ? L": started, window shown" : L": FAILED"));
    shown += window ? 1 : 0;
    if (started) {
      TerminateProcess(info.hProcess, 0);
      CloseHandle(info.hProcess);
      CloseHandle(info.hThread);
    }
  }
  std::printf("%d of 3 started\n", shown);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring what = argc > 1 ? argv[1] : L"";
  if (what == L"links" && argc > 3) return MakeLinks(argv[2], _wtoi(argv[3]));
  const bool all = argc > 2 && std::wstring(argv[argc - 1]) == L"--all";
  const int given = argc - (all ? 1 : 0);
  if (what == L"repair") return ScanAndRepairAll(given > 2 ? argv[2] : L"", true, all);
  if (what == L"scan" && given > 2) return ScanAndRepairAll(argv[2], false, all);
  if (what == L"starts") return StartPrograms();
  if (what == L"close") {
    if (const HWND form = Sanivo()) PostMessageW(form, WM_CLOSE, 0, 0);
    Wait(10000, [] { return FindWindowW(L"TForm1", nullptr) == nullptr; });
    return 0;
  }
  std::fprintf(stderr,
               "usage: repair_driver links|repair [ROWS] [--all]|scan ROWS [--all]|close|starts\n");
  return 2;
}
