// What each registry list scan (check rows 0, 1 and 3 to 6) costs against a plain read of the
// same keys: open them, list their subkeys and values and read every value, without judging
// anything. Each scan and each read runs `runs` times (default 20); the medians and their ratio
// are printed, then the totals.
//
//   scripts/wine.sh build/win64/bin/listscan_bench.exe [runs] [fill]
//   scripts/wine.sh build/win64/bin/listscan_bench.exe rows
//
// "rows" prints every row the six scans find in the prefix (UTF-8), for checking them by hand.
//
// Without `fill` the scans read the prefix's own registry and folders. With fill = N they read a
// private tree (below HKEY_CURRENT_USER "Software\ZephraBench") that holds N entries of every
// list, about half of them stale (all menu-order entries are), and files in a private folder;
// both are removed at the end.
#include <windows.h>

#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "checker/app/SystemCalls.h"
#include "checker/scanners/MenuScans.h"
#include "checker/scanners/SharedDllScan.h"
#include "checker/scanners/SoftwareScans.h"
#include "checker/scanners/TarqGetOSInfo.h"
#include "checker/scanners/UninstallScans.h"
#include "common/pump.h"
#include "common/text.h"

namespace {

using registry::Key;

const std::wstring kVersion = L"Software\\Microsoft\\Windows\\CurrentVersion\\";
const wchar_t* const kClasses[] = {L"*", L"Directory", L"Drive", L"Folder"};
const std::wstring kOrders[] = {kVersion + L"Explorer\\MenuOrder\\Start Menu\\&Programs",
                                kVersion + L"Explorer\\MenuOrder\\Start Menu\\Programs",
                                kVersion + L"Explorer\\MenuOrder\\Start Menu2\\Programs"};

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
  bytes.resize(bytes.empty() ? 0 : bytes.size() - 1);
  return bytes;
}

class BenchHost : public ScanHost {
 public:
  ScanEnvironment environment;
  int rows = 0;
  bool print = false;
  void AddRow(const ScanResultRow& row) override {
    ++rows;
    if (print)
      std::printf("%s\n", Utf8(row.Item + L" | " + row.Location + L" | " + row.KeyName + L" | " +
                               row.Description + L" | " + std::to_wstring(row.ImageIndex))
                              .c_str());
  }
  void ShowStatus(const std::wstring&) override {}
  void ProcessMessages() override { common::PumpPendingMessages(); }
  bool Scanning() const override { return true; }
  void RaisePendingScans() override {}
  void LowerPendingScans() override {}
  const ScanEnvironment& Environment() const override { return environment; }
};

// Lists the subkeys and values of `path` and reads every value, `depth` levels down.
void ReadTree(HKEY root, const std::wstring& path, int depth) {
  const Key key = Key::Open(root, path);
  for (const std::wstring& name : key.ValueNames()) key.ReadText(name);
  if (depth == 0) return;
  for (const std::wstring& name : key.SubkeyNames()) ReadTree(root, path + L"\\" + name, depth - 1);
}

struct Scan {
  const char* name;
  std::function<void(BenchHost&, const ListScanSystem&)> scan;
  std::function<void(const ListScanSystem&)> read;
};

std::vector<Scan> Scans() {
  return {
      {"software keys (row 0)",
       [](BenchHost& h, const ListScanSystem& s) { Scan_SoftwareErr(h, s); },
       [](const ListScanSystem& s) {
         ReadTree(s.Machine, L"Software", 1);
         ReadTree(s.User, L"Software", 1);
       }},
      {"menu entries (row 1)", [](BenchHost& h, const ListScanSystem& s) { ScanMenuEntries(h, s); },
       [](const ListScanSystem& s) {
         for (const wchar_t* c : kClasses) {
           const std::wstring base = std::wstring(L"Software\\CLASSES\\") + c;
           ReadTree(s.Machine, base + L"\\shellex\\ContextMenuHandlers", 1);
           ReadTree(s.Machine, base + L"\\shell", 2);
         }
         for (const std::wstring& order : kOrders) ReadTree(s.User, order, 1);
       }},
      {"help files (row 3)", [](BenchHost& h, const ListScanSystem& s) { Scan_HelpErr(h, s); },
       [](const ListScanSystem& s) {
         ReadTree(s.Machine, L"Software\\Microsoft\\Windows\\Help", 0);
         ReadTree(s.Machine, L"Software\\Microsoft\\Windows\\HTML Help", 0);
       }},
      {"shared DLLs (row 4)", [](BenchHost& h, const ListScanSystem& s) { Scan_DLLerr(h, s); },
       [](const ListScanSystem& s) { ReadTree(s.Machine, kVersion + L"Shareddlls", 0); }},
      {"uninstall entries (row 5)",
       [](BenchHost& h, const ListScanSystem& s) { Scan_UninstallErr(h, s); },
       [](const ListScanSystem& s) { ReadTree(s.Machine, kVersion + L"Uninstall", 1); }},
      {"fonts (row 6)", [](BenchHost& h, const ListScanSystem& s) { Scan_FontErr(h, s); },
       [](const ListScanSystem& s) { ReadTree(s.Machine, kVersion + L"Fonts", 0); }},
  };
}

double Seconds(const std::function<void()>& work) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  work();
  QueryPerformanceCounter(&end);
  return static_cast<double>(end.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void SetText(HKEY root, const std::wstring& path, const std::wstring& name,
             const std::wstring& text) {
  const std::string bytes = common::ToAnsi(text);
  SHSetValueA(root, common::ToAnsi(path).c_str(), common::ToAnsi(name).c_str(), REG_SZ,
              bytes.c_str(), static_cast<DWORD>(bytes.size() + 1));
}

void MakeKey(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, common::ToAnsi(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) == ERROR_SUCCESS)
    RegCloseKey(key);
}

void MakeFile(const std::wstring& path) {
  const HANDLE file = CreateFileA(common::ToAnsi(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

// `fill` entries of every list below `tree` (standing for both roots), half of them stale; the
// existing half has its files in `folder`.
void Fill(const std::wstring& tree, const std::wstring& folder, int fill) {
  const HKEY root = HKEY_CURRENT_USER;
  for (int i = 0; i < fill; ++i) {
    const std::wstring n = std::to_wstring(i);
    const bool fine = i % 2 == 0;
    const std::wstring file = folder + L"\\f" + n + L".exe";
    if (fine) MakeFile(file);
    MakeKey(root, tree + L"\\Software\\App" + n);
    if (fine) SetText(root, tree + L"\\Software\\App" + n, L"Version", L"1.0");
    const std::wstring verb = tree + L"\\Software\\CLASSES\\Directory\\shell\\verb" + n;
    SetText(root, verb + L"\\command", L"", L"\"" + file + L"\" \"%1\"");
    const std::wstring clsid = L"{" + n + L"}";
    SetText(root, tree + L"\\Software\\CLASSES\\*\\shellex\\ContextMenuHandlers\\h" + n, L"",
            clsid);
    if (fine) MakeKey(root, tree + L"\\Software\\CLASSES\\CLSID\\" + clsid);
    MakeKey(root, tree + L"\\" + kOrders[2] + L"\\Entry" + n);
    SetText(root, tree + L"\\Software\\Microsoft\\Windows\\Help", L"f" + n + L".exe", folder);
    SetText(root, tree + L"\\" + kVersion + L"Fonts", L"Font " + n, file);
    const DWORD count = fine ? 1 : 0;
    SHSetValueA(root, common::ToAnsi(tree + L"\\" + kVersion + L"Shareddlls").c_str(),
                common::ToAnsi(file).c_str(), REG_DWORD, &count, sizeof(count));
    const std::wstring entry = tree + L"\\" + kVersion + L"Uninstall\\App" + n;
    SetText(root, entry, L"DisplayName", L"App " + n);
    SetText(root, entry, L"UninstallString", L"\"" + file + L"\" /uninstall");
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool listRows = argc > 1 && std::string(argv[1]) == "rows";
  const int runs = argc > 1 && !listRows ? std::max(1, std::atoi(argv[1])) : 20;
  const int fill = argc > 2 ? std::max(0, std::atoi(argv[2])) : 0;

  BenchHost host;
  const TTarqOSInfo os;
  host.environment.MajorVersion = os.MajorVersion();
  host.environment.WinDir = WindowsDirectory().value_or(L"C:\\windows");
  host.environment.DesktopWnd = GetDesktopWindow();
  host.environment.GetSpecialFolder = &GetSpecialFolder;

  ListScanSystem system;
  if (listRows) {
    host.print = true;
    for (const Scan& scan : Scans()) {
      std::printf("== %s\n", scan.name);
      scan.scan(host, system);
    }
    return 0;
  }
  const std::wstring tree = L"Software\\ZephraBench\\" + std::to_wstring(GetCurrentProcessId());
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::wstring folder =
      common::FromAnsi(temp) + L"zephra-bench-" + std::to_wstring(GetCurrentProcessId());
  Key treeKey;
  if (fill > 0) {
    CreateDirectoryA(common::ToAnsi(folder).c_str(), nullptr);
    const double made = Seconds([&] { Fill(tree, folder, fill); });
    std::printf("private tree: %d entries of every list, about half stale (made in %.1f s)\n", fill,
                made);
    treeKey = Key::Open(HKEY_CURRENT_USER, tree);
    system.Machine = system.User = treeKey.Get();
  } else {
    std::printf("the prefix's own registry and folders\n");
  }

  std::printf("%-26s %6s %10s %10s %7s\n", "scan", "rows", "scan ms", "read ms", "ratio");
  double scanTotal = 0, readTotal = 0;
  for (const Scan& scan : Scans()) {
    std::vector<double> scanTimes, readTimes;
    int rows = 0;
    for (int run = 0; run < runs; ++run) {
      host.rows = 0;
      scanTimes.push_back(Seconds([&] { scan.scan(host, system); }));
      rows = host.rows;
      readTimes.push_back(Seconds([&] { scan.read(system); }));
    }
    const double s = Median(scanTimes) * 1000, r = Median(readTimes) * 1000;
    scanTotal += s;
    readTotal += r;
    std::printf("%-26s %6d %10.3f %10.3f %7.2f\n", scan.name, rows, s, r, r > 0 ? s / r : 0.0);
  }
  std::printf("%-26s %6s %10.3f %10.3f %7.2f\n", "all six rows", "", scanTotal, readTotal,
              readTotal > 0 ? scanTotal / readTotal : 0.0);

  if (fill > 0) {
    treeKey = Key();
    SHDeleteKeyA(HKEY_CURRENT_USER, common::ToAnsi(tree).c_str());
    SHDeleteEmptyKeyA(HKEY_CURRENT_USER, "Software\\ZephraBench");
    for (int i = 0; i < fill; i += 2)
      DeleteFileA(common::ToAnsi(folder + L"\\f" + std::to_wstring(i) + L".exe").c_str());
    RemoveDirectoryA(common::ToAnsi(folder).c_str());
  }
  return 0;
}
