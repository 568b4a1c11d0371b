#pragma once
// The viewer of the checker's help file. The HTML Help control is found through its class
// registration and bound when the viewer is made, never imported: a system without it, or with a
// broken registration, runs the checker all the same, and help then does nothing.
#include <windows.h>

#include <optional>
#include <string>

#include "common/handles.h"

// UI thread only.
class THtmhelp {
 public:
  // The HTML Help control's class; its InprocServer32 names the control's file.
  static constexpr wchar_t kControlClass[] = L"CLSID\\{adb880a6-d8ff-11cf-9377-00aa003b7a11}";

  // `classesRoot` is where the class registration is looked up (HKEY_CLASSES_ROOT; a test gives
  // a private key). The key must outlive the call of the constructor only.
  explicit THtmhelp(std::wstring helpFile, HKEY classesRoot = HKEY_CLASSES_ROOT);
  ~THtmhelp();
  THtmhelp(const THtmhelp&) = delete;
  THtmhelp& operator=(const THtmhelp&) = delete;

  // The registered control's file, when the registration names a file that exists.
  static std::optional<std::wstring> FindHHCtrl(HKEY classesRoot = HKEY_CLASSES_ROOT);
  // Loads the control and binds its "HtmlHelpA"; true when the entry was found.
  bool LoadHHCtrl();
  // Closes the help windows the control opened for this program, then unloads it.
  void UnloadHHCtrl();
  // Shows a topic (a page of the help file) in the control's window, without an owner window.
  // Nothing happens when the control is not bound; the control's own failures are not reported.
  void ShowTopic(const std::wstring& topic) const;

  const std::wstring& HelpFile() const { return helpFile_; }
  bool Bound() const { return htmlHelpProc_ != nullptr; }

 private:
  using HtmlHelpFunction = HWND(WINAPI*)(HWND owner, LPCSTR file, UINT command, DWORD_PTR data);

  std::wstring helpFile_;
  HKEY classesRoot_;
  common::Module hhModule_;
  HtmlHelpFunction htmlHelpProc_ = nullptr;
};
