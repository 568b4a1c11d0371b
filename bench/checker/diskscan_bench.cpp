// Speed of the broken-shortcut walk against a bare FindFirstFile walk of the same tree: 10 000
// files in 100 folders, 1 000 of them shortcuts, one in ten of those broken. The shortcut walk
// lets window messages run as it goes, as it does in the program.
//   scripts/wine.sh build/win64/bin/diskscan_bench.exe [rounds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "checker/scanners/DiskScans.h"
#include "common/pump.h"
#include "support/testing.h"

namespace {

constexpr int kGroups = 10, kFoldersPerGroup = 10, kFilesPerFolder = 100, kLinksPerFolder = 10;

class BenchHost : public ScanHost {
 public:
  int rows = 0;
  bool pump = true;
  ScanEnvironment environment;

  void AddRow(const ScanResultRow&) override { ++rows; }
  void ShowStatus(const std::wstring&) override {}
  void ProcessMessages() override {
    if (pump) common::PumpPendingMessages();
  }
  bool Scanning() const override { return true; }
  void RaisePendingScans() override {}
  void LowerPendingScans() override {}
  const ScanEnvironment& Environment() const override { return environment; }
};

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The tree; false when it could not be made. The shortcuts are copies of two saved ones (saving
// a shortcut is slow under Wine).
bool MakeTree(const std::wstring& root) {
  if (!CreateDirectoryW(root.c_str(), nullptr)) return false;
  const std::wstring existing = root + L"\\there.exe";
  CloseHandle(CreateFileW(existing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  const std::wstring good = root + L"\\good.lnk.tmp", broken = root + L"\\broken.lnk.tmp";
  if (!testing_support::MakeShortcut(good, existing) ||
      !testing_support::MakeShortcut(broken, root + L"\\gone.exe"))
    return false;
  bool made = true;
  for (int g = 0; g < kGroups && made; ++g) {
    const std::wstring group = root + L"\\group" + std::to_wstring(g);
    CreateDirectoryW(group.c_str(), nullptr);
    for (int f = 0; f < kFoldersPerGroup && made; ++f) {
      const std::wstring folder = group + L"\\folder" + std::to_wstring(f);
      CreateDirectoryW(folder.c_str(), nullptr);
      for (int i = 0; i < kFilesPerFolder - kLinksPerFolder; ++i) {
        const std::wstring name = folder + L"\\file" + std::to_wstring(i) + L".dat";
        CloseHandle(
            CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
      }
      for (int i = 0; i < kLinksPerFolder && made; ++i)
        made = CopyFileW((i == 0 ? broken : good).c_str(),
                         (folder + L"\\link" + std::to_wstring(i) + L".lnk").c_str(), FALSE);
    }
  }
  DeleteFileW(good.c_str());
  DeleteFileW(broken.c_str());
  return made;
}

// Files found by a bare recursive walk.
int RawWalk(const std::wstring& directory) {
  int files = 0;
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW((directory + L"*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  std::vector<std::wstring> subfolders;
  do {
    const wchar_t* name = data.cFileName;
    if (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0))) continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      subfolders.push_back(name);
    else
      ++files;
  } while (FindNextFileW(find, &data));
  FindClose(find);
  for (const std::wstring& s : subfolders) files += RawWalk(directory + s + L"\\");
  return files;
}

// The shortcut files of the tree.
std::vector<std::wstring> Shortcuts(const std::wstring& root) {
  std::vector<std::wstring> links;
  for (int g = 0; g < kGroups; ++g)
    for (int f = 0; f < kFoldersPerGroup; ++f)
      for (int i = 0; i < kLinksPerFolder; ++i)
        links.push_back(root + L"\\group" + std::to_wstring(g) + L"\\folder" + std::to_wstring(f) +
                        L"\\link" + std::to_wstring(i) + L".lnk");
  return links;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  CoInitialize(nullptr);
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring root =
      std::wstring(temp) + L"zephra-diskscan-bench-" + std::to_wstring(GetCurrentProcessId());
  const double madeAt = Seconds();
  if (!MakeTree(root)) {
    std::printf("could not make the tree\n");
    testing_support::RemoveTree(root);
    return 1;
  }
  std::printf("tree: %d files (%d shortcuts) made in %.1f s\n", RawWalk(root + L"\\"),
              kGroups * kFoldersPerGroup * kLinksPerFolder, Seconds() - madeAt);

  const std::vector<std::wstring> links = Shortcuts(root);
  std::vector<double> raw, walk, quiet, reads;
  int found = 0, rows = 0;
  for (int round = 0; round < rounds; ++round) {
    double start = Seconds();
    found = RawWalk(root + L"\\");
    raw.push_back(Seconds() - start);

    for (const bool pump : {true, false}) {
      BenchHost host;
      host.pump = pump;
      start = Seconds();
      DiskScans(host, FileQueries::System(), Wow64Folders())
          .FindFiles(root + L"\\", L"*.lnk", DiskScans::kCheckShortcuts);
      (pump ? walk : quiet).push_back(Seconds() - start);
      rows = host.rows;
    }

    ShellLinkReader reader;
    start = Seconds();
    for (const std::wstring& link : links) reader.Target(link);
    reads.push_back(Seconds() - start);
  }
  const double rawRate = found / Median(raw), walkRate = found / Median(walk),
               quietRate = found / Median(quiet);
  std::printf("bare FindFirstFile walk:  %8.0f files/s (median of %d, %.1f ms)\n", rawRate, rounds,
              Median(raw) * 1000);
  std::printf("shortcut walk:            %8.0f files/s (median of %d, %.1f ms, %d broken found)\n",
              walkRate, rounds, Median(walk) * 1000, rows);
  std::printf("shortcut walk, no pump:   %8.0f files/s (%.1f ms)\n", quietRate,
              Median(quiet) * 1000);
  std::printf("shell link object alone:  %8.0f us per shortcut\n",
              Median(reads) * 1e6 / static_cast<double>(links.size()));
  std::printf("ratio (bare / shortcut):  %.2f  (without the pump %.2f)\n", rawRate / walkRate,
              rawRate / quietRate);
  testing_support::RemoveTree(root);
  CoUninitialize();
  return 0;
}
