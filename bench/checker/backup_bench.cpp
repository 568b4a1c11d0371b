// How long the checker's registry backup and restore take: the main window's two commands run
// in this process with the real registry editor of the Windows folder, each timed from the
// command to its closing message box (answered at once), N times (default 3).
//
//   scripts/wine.sh --timeout=900 build/win64/bin/backup_bench.exe [N]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "checker/app/CommandIds.h"
#include "checker/app/TForm1.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"backup-bench";
  CreateDirectoryW(folder.c_str(), nullptr);

  CheckerServices services = CheckerServices::Real();
  services.programDirectory = folder;
  services.quitOnDestroy = false;
  services.recordProgramPath = [] {};
  services.scanners = [] { return ScannerSet(); };
  LARGE_INTEGER answered = {};
  services.messageBox = [&](const std::wstring&, UINT) {
    QueryPerformanceCounter(&answered);
    return IDOK;
  };
  TForm1 form(std::move(services));
  if (!form.Create()) return 1;
  form.Show(SW_SHOWNOACTIVATE);

  std::vector<double> backups, restores;
  for (int i = 0; i < runs; ++i) {
    for (const int command : {cmd::kBackup, cmd::kRestore}) {
      LARGE_INTEGER start;
      QueryPerformanceCounter(&start);
      SendMessageW(form.Handle(), WM_COMMAND, command, 0);
      (command == cmd::kBackup ? backups : restores).push_back(Seconds(start, answered));
    }
  }
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  GetFileAttributesExW((folder + L"\\Backup_Sanivo.reg").c_str(), GetFileExInfoStandard, &data);
  std::printf("backup file: %.1f MB\n", data.nFileSizeLow / 1048576.0);
  for (const auto& [name, times] : {std::pair{"backup", backups}, std::pair{"restore", restores}}) {
    std::printf("%-8s", name);
    for (const double t : times) std::printf(" %6.2f s", t);
    std::printf("\n");
  }
  form.Destroy();
  DeleteFileW((folder + L"\\Backup_Sanivo.reg").c_str());
  DeleteFileW((folder + L"\\Repair.log").c_str());
  RemoveDirectoryW(folder.c_str());
  return 0;
}
