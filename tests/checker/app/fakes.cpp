#include "fakes.h"

#include <gtest/gtest.h>

#include "common/pump.h"

FakeThread::FakeThread(std::shared_ptr<ThreadScript> script, std::wstring name)
    : script_(std::move(script)), name_(std::move(name)) {
  ++script_->made;
}

FakeThread::~FakeThread() { ++script_->ended; }

void FakeThread::Execute() {
  ShowStatus(L"扫描：" + name_);
  for (const ScanResultRow& row : script_->rows) {
    if (Terminated()) return;
    ++script_->rowsOffered;
    AddRow(row);
  }
  while (!script_->release) {
    if (Terminated()) {
      if (!script_->sawTerminate.exchange(true) && script_->askOnTerminate)
        SendMessageW(script_->askOnTerminate, WM_NULL, 0, 0);
      if (script_->obeyTerminate) return;
    }
    Sleep(1);
  }
  for (const ScanResultRow& row : script_->lateRows) AddRow(row);
}

void AddFakeThreads(ScannerSet& scanners, const std::shared_ptr<ThreadScript>& script) {
  scanners.registryThread = [script](const ScanEnvironment&, HKEY root) {
    script->roots.push_back(root);
    return std::make_unique<FakeThread>(script, L"root");
  };
  scanners.classThread = [script](const ScanEnvironment&) {
    return std::make_unique<FakeThread>(script, L"classes");
  };
}

ScannerSet ScannersFinding(const std::vector<ScanResultRow>& rows,
                           const std::shared_ptr<ThreadScript>& script) {
  ScannerSet scanners;
  if (script) AddFakeThreads(scanners, script);
  scanners.Synchronous(CheckRowId::SoftwareKeys) = [&rows](ScanHost& host) {
    for (const ScanResultRow& row : rows) host.AddRow(row);
  };
  return scanners;
}

void FakeView::ProcessMessages() { common::PumpPendingMessages(); }

ScanResultRow Row(const std::wstring& item, const std::wstring& location) {
  ScanResultRow row;
  row.Item = item;
  row.Location = location;
  return row;
}

CheckerServices TestServices(const std::wstring& folder, DWORD major, DWORD minor) {
  CheckerServices services;
  services.versionQuery = [major, minor](OSVERSIONINFOA& info) {
    info.dwMajorVersion = major;
    info.dwMinorVersion = minor;
    return true;
  };
  services.recordProgramPath = [] {};
  services.windowsDirectory = [] { return std::optional<std::wstring>(L"C:\\windows"); };
  services.fileExists = [](const std::wstring&) { return false; };
  services.programDirectory = folder;
  services.bootIniPath = folder + L"\\boot.ini";
  services.messageBox = [](const std::wstring&, UINT) { return IDOK; };
  services.runAndWait = [](const std::wstring&, HWND, const std::function<void()>&) {
    return std::optional<DWORD>(0);
  };
  services.scanners = [] { return ScannerSet(); };
  services.quitOnDestroy = false;
  return services;
}

std::unique_ptr<TForm1> ShownForm(CheckerServices services) {
  auto form = std::make_unique<TForm1>(std::move(services));
  EXPECT_TRUE(form->Create());
  form->Show(SW_SHOWNOACTIVATE);
  return form;
}

void SendCommand(TForm1& form, int command) {
  SendMessageW(form.Handle(), WM_COMMAND, command, 0);
}
