#pragma once
// TChkRegClassErr: the worker thread that checks the file types and classes registered below
// HKEY_LOCAL_MACHINE "Software\CLASSES": extensions whose registration is empty, classes whose
// open command is missing or starts a program that is gone, and extensions that name a class
// that does not exist or was found broken.
#include <windows.h>

#include <string>
#include <vector>

#include "checker/scanners/FileQueries.h"
#include "checker/scanners/Registry.h"
#include "checker/scanners/ScanThread.h"

class TChkRegClassErr : public TScanThread {
 public:
  // `majorVersion` of Windows decides which extensions the last pass looks at. The classes key
  // can be moved for a test (a private tree standing in for it); the rows always name
  // HKEY_LOCAL_MACHINE "Software\CLASSES".
  TChkRegClassErr(int majorVersion, FileQueries files, HKEY rootKey = HKEY_LOCAL_MACHINE,
                  std::wstring classesPath = L"Software\\CLASSES");

 protected:
  void Execute() override;

 private:
  void ScanClasses();
  void FindEmptyExtensions();
  void CheckClasses();
  void FindExtensionsPointingNowhere();
  bool Broken(const std::wstring& name) const;
  void Report(const std::wstring& name, const std::wstring& what);
  void ShowScanKey(const std::wstring& name);

  // All of these: set before the thread runs, then worker thread only.
  const int majorVersion_;
  const FileQueries files_;
  const HKEY rootKey_;
  const std::wstring classesPath_;
  registry::Key classes_;  // open while the passes run
  std::vector<std::wstring> names_, extensions_, brokenClasses_;
};
