// The registry reference scanner's walk against a raw walk of the same registry tree. A private
// tree of about 50 000 keys below HKEY_CURRENT_USER "Software\ZephraTests" (20 x 50 x 50 keys;
// every key has a text and a number, every tenth an existing program path, every hundredth a
// missing one) is walked in turns by
//   - a raw walk: RegOpenKeyEx, RegEnumKeyEx and RegEnumValue (names, types and data), nothing
//     else;
//   - the scanner thread with the real file system, its status texts and rows handed to this
//     thread's message loop, which only counts them: the walk and its hand-offs;
//   - the same with the texts shown in a real status bar and the rows added to a real, visible
//     result list: what the main window does (under Wine and Xvfb the painting of the two
//     controls weighs far more than on Windows).
// It prints the times of each turn, and the ratios to the raw walk of the fastest and of the
// median turns (on a busy machine the fastest turns are the least disturbed); the tree is removed
// at the end.
//
//   scripts/wine.sh --timeout=1800 build/win64/bin/regwalk_bench.exe [turns (default 5)]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BenchWindow.h"
#include "checker/scanners/HandOff.h"
#include "checker/scanners/TarqChkRegErr.h"
#include "common/text.h"
#include "support/registry.h"

namespace {

constexpr int kFanOut[] = {20, 50, 50};

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void SetText(HKEY key, const char* name, const std::string& text) {
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
}

// Makes the keys below `parent` at `level`; returns how many keys it made.
int MakeTree(HKEY parent, int level, int& serial) {
  if (level == static_cast<int>(std::size(kFanOut))) return 0;
  int made = 0;
  for (int i = 0; i < kFanOut[level]; ++i) {
    HKEY key = nullptr;
    const std::string name = "Key" + std::to_string(level) + "_" + std::to_string(i);
    if (RegCreateKeyExA(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
      continue;
    const int n = ++serial;
    SetText(key, "Caption", "Setting number " + std::to_string(n));
    const DWORD number = static_cast<DWORD>(n);
    RegSetValueExA(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof(number));
    if (n % 10 == 0) SetText(key, "Program", "C:\\windows\\notepad.exe /p");
    if (n % 100 == 0) SetText(key, "Missing", "C:\\ZephraBench\\gone" + std::to_string(n) + ".exe");
    made += 1 + MakeTree(key, level + 1, serial);
    RegCloseKey(key);
  }
  return made;
}

struct RawCount {
  long keys = 0, values = 0;
};

struct RawBuffers {
  char keyName[256];
  std::vector<char> valueName = std::vector<char>(16384), data = std::vector<char>(65536);
};

void RawWalk(HKEY key, RawBuffers& buffers, RawCount& count) {
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(buffers.valueName.size());
    DWORD dataLength = static_cast<DWORD>(buffers.data.size()), type = 0;
    if (RegEnumValueA(key, index, buffers.valueName.data(), &nameLength, nullptr, &type,
                      reinterpret_cast<BYTE*>(buffers.data.data()), &dataLength) != ERROR_SUCCESS)
      break;
    ++count.values;
  }
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = sizeof(buffers.keyName);
    if (RegEnumKeyExA(key, index, buffers.keyName, &nameLength, nullptr, nullptr, nullptr,
                      nullptr) != ERROR_SUCCESS)
      break;
    HKEY subkey = nullptr;
    if (RegOpenKeyExA(key, buffers.keyName, 0, KEY_READ, &subkey) != ERROR_SUCCESS) continue;
    ++count.keys;
    RawWalk(subkey, buffers, count);
    RegCloseKey(subkey);
  }
}

struct ScanCount {
  int rows = 0, statuses = 0;
};

// Runs the scanner over the tree, serving its hand-offs in a plain message loop; shows them in
// the window when there is one.
ScanCount ScannerWalk(const testing_support::TestKey& tree, const std::shared_ptr<HandOff>& channel,
                      BenchWindow* window) {
  ScanCount count;
  bool done = false;
  ScanThreadLink link;
  link.handOff = channel;
  link.ShowStatus = [&](const std::wstring& text) {
    if (window) window->statusBar.SetText(text);
    ++count.statuses;
  };
  link.AddRow = [&](const ScanResultRow& row) {
    if (window) window->results.AddRow(row);
    ++count.rows;
  };
  link.Done = [&] { done = true; };
  TScanThread::Start(std::make_unique<TChkRegErr>(
                         TChkRegErr::Start{tree.Root(), tree.Path(), L"HKEY_CURRENT_USER"},
                         L"C:\\windows", FileQueries::System()),
                     link);
  MSG msg;
  while (!done && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return count;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int turns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  BenchWindow window;
  HandOffServer server;

  testing_support::TestKey tree;
  double start = Now();
  int made = 0, serial = 0;
  {
    HKEY top = nullptr;
    RegOpenKeyExA(tree.Root(), common::ToAnsi(tree.Path()).c_str(), 0, KEY_ALL_ACCESS, &top);
    made = MakeTree(top, 0, serial);
    RegCloseKey(top);
  }
  std::printf("tree of %d keys made in %.1f s\n", made, Now() - start);

  std::vector<double> raw, bare, shown;
  for (int turn = 0; turn < turns; ++turn) {
    RawCount rawCount;
    RawBuffers buffers;
    start = Now();
    HKEY top = nullptr;
    RegOpenKeyExA(tree.Root(), common::ToAnsi(tree.Path()).c_str(), 0, KEY_READ, &top);
    RawWalk(top, buffers, rawCount);
    RegCloseKey(top);
    raw.push_back(Now() - start);

    start = Now();
    const ScanCount bareCount = ScannerWalk(tree, server.Channel(), nullptr);
    bare.push_back(Now() - start);

    window.results.Clear();
    start = Now();
    const ScanCount shownCount = ScannerWalk(tree, server.Channel(), &window);
    shown.push_back(Now() - start);
    std::printf(
        "turn %d: raw walk %.1f s (%ld keys, %ld values); scanner %.1f s (x%.2f, %d rows, %d "
        "texts); into the window %.1f s (x%.2f, %d rows, %d texts shown)\n",
        turn + 1, raw.back(), rawCount.keys, rawCount.values, bare.back(), bare.back() / raw.back(),
        bareCount.rows, bareCount.statuses, shown.back(), shown.back() / raw.back(),
        shownCount.rows, shownCount.statuses);
  }
  const auto fastest = [](const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
  };
  std::printf("fastest: raw walk %.1f s, scanner %.1f s (x%.2f), into the window %.1f s (x%.2f)\n",
              fastest(raw), fastest(bare), fastest(bare) / fastest(raw), fastest(shown),
              fastest(shown) / fastest(raw));
  std::printf("median:  raw walk %.1f s, scanner %.1f s (x%.2f), into the window %.1f s (x%.2f)\n",
              Median(raw), Median(bare), Median(bare) / Median(raw), Median(shown),
              Median(shown) / Median(raw));
  server.Close();
  return 0;
}
