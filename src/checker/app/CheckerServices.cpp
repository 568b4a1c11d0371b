#include "checker/app/CheckerServices.h"

#include "checker/app/InstalledScanners.h"
#include "checker/app/SystemCalls.h"
#include "checker/scanners/WriteFileDesc.h"
#include "common/paths.h"
#include "common/text.h"

CheckerServices CheckerServices::Real() {
  CheckerServices services;
  services.recordProgramPath = [] {
    // The result does not matter: without the right to write there, start-up goes on.
    TWriteFileDesc(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Tarq", common::ProgramPath()).WriteDesc();
  };
  services.windowsDirectory = &WindowsDirectory;
  services.fileExists = &common::FileExists;
  services.programDirectory = common::ProgramDirectory();
  services.messageBox = [](const std::wstring& text, UINT type) {
    return MessageBoxA(nullptr, common::ToAnsi(text).c_str(), "Sanivo", type);
  };
  services.runAndWait = &RunAndWait;
  services.openAddress = &OpenAddress;
  services.scanners = &InstalledScanners;
  return services;
}
