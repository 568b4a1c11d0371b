#pragma once
// Printing a document through the "print" verb of its file type, and what the window does to
// the world outside itself. The program uses the real services; tests record the calls.
#include <windows.h>

#include <functional>
#include <string>

namespace prindle {

struct PrindleServices {
  // ShellExecuteA(owner, verb, file, "", "", show).
  std::function<void(HWND owner, const std::wstring& verb, const std::wstring& file, int show)>
      shellExecute;
  // The window has closed: the program ends.
  std::function<void()> quit;

  static PrindleServices Real();
};

// Verb and show command of a print: any window that the printing application opens starts
// minimised and does not take the focus.
inline constexpr wchar_t kPrintVerb[] = L"print";
inline constexpr int kPrintShow = SW_SHOWMINNOACTIVE;  // 7

// Hands the file, exactly as typed (no trimming, no quotes, no check that it exists), to the
// print verb. The result is not examined: a failed print shows nothing.
void PrintAnyFile(HWND owner, const std::wstring& FileToPrint, const PrindleServices& services);

}  // namespace prindle
