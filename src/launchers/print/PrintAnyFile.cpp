#include "launchers/print/PrintAnyFile.h"

#include "common/launch.h"

namespace prindle {

PrindleServices PrindleServices::Real() {
  PrindleServices services;
  services.shellExecute = [](HWND owner, const std::wstring& verb, const std::wstring& file,
                             int show) {
    // The result code is dropped on purpose: an empty path, a missing file or a file type
    // without a print verb fails quietly and the window stays as it was.
    common::ShellExecuteAnsi(owner, verb, file, show);
  };
  services.quit = [] { PostQuitMessage(0); };
  return services;
}

void PrintAnyFile(HWND owner, const std::wstring& FileToPrint, const PrindleServices& services) {
  services.shellExecute(owner, kPrintVerb, FileToPrint, kPrintShow);
}

}  // namespace prindle
