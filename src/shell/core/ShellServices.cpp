#include "shell/core/ShellServices.h"

#include "common/launch.h"

ShellServices ShellServices::Real() {
  ShellServices services;
  services.openLink = [](HWND owner, const std::wstring& link) {
    // Errors of the launch are ignored: no message, the result is not examined.
    common::ShellExecuteAnsi(owner, L"open", link, SW_SHOW);
  };
  services.startCommand = [](const std::wstring& commandLine, int show) {
    common::StartCommandLine(commandLine, show);
  };
  services.quitLoop = [] { PostQuitMessage(0); };
  return services;
}
