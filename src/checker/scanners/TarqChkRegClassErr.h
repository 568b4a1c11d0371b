#pragma once
// TChkRegClassErr: the worker thread that checks the file types and classes registered below
// HKEY_LOCAL_MACHINE "Software\CLASSES": extensions whose registration is empty, classes whose
// open command is missing or starts a program that is gone, and extensions that name a class
// that does not exist or was found broken.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "checker/scanners/FileQueries.h"
#include "checker/scanners/Registry.h"
#include "checker/scanners/ScanThread.h"

// The classes key ("Software\CLASSES") below a root as one registry view shows it.
struct ClassesView {
  HKEY root;
  std::wstring path;
  REGSAM flags;
};

// The classes key of the program's own view (HKEY_LOCAL_MACHINE "Software\CLASSES"), then the
// other view of 64-bit Windows (ListScanSystem::DefaultOtherMachineViews), where a class of a
// program of the other bitness may be registered.
std::vector<ClassesView> DefaultClassesViews();

// The rules of the scan, each judging one name now: the scan and the repair's second look at a
// row use the same. Names are those of the first view, the one the rows name; the others are
// only asked whether a class exists. One object per thread.
class ClassRules {
 public:
  ClassRules(int majorVersion, FileQueries files, std::vector<ClassesView> views);

  // The subkey names of the classes key, in enumeration order.
  std::vector<std::wstring> Names() const;

  // Pass 1: an extension with nothing registered: no subkeys and no values, or only a "Shell"
  // whose default and whose "Open"'s default are both empty and none of whose verbs runs
  // anything (VerbWorks).
  bool EmptyExtension(const std::wstring& extension) const;
  // Pass 2: the extension is one that pass 3 looks at (every one on Windows 95, 98 and NT 4,
  // those without subkeys elsewhere).
  bool ChecksExtension(const std::wstring& extension) const;
  // Pass 2: a class with only a "Shell" below it whose open verb runs nothing.
  bool BrokenClass(const std::wstring& name) const;
  // Pass 3: the class an extension names (its default), empty when none.
  std::wstring ClassNameOf(const std::wstring& extension) const;
  // Pass 3: the named class exists in no view, and the name is no path.
  bool MissingClass(const std::wstring& className) const;

 private:
  const int majorVersion_;
  const FileQueries files_;
  const std::vector<ClassesView> views_;
  registry::Key classes_;  // the first view's classes key, open for the life of the object
};

class TChkRegClassErr : public TScanThread {
 public:
  // `majorVersion` of Windows decides which extensions the last pass looks at. The classes keys
  // can be moved for a test (private trees standing in for them); the rows always name
  // HKEY_LOCAL_MACHINE "Software\CLASSES".
  TChkRegClassErr(int majorVersion, FileQueries files,
                  std::vector<ClassesView> views = DefaultClassesViews());
  TChkRegClassErr(int majorVersion, FileQueries files, HKEY rootKey, std::wstring classesPath);

 protected:
  void Execute() override;

 private:
  void ScanClasses();
  void FindEmptyExtensions();
  void CheckClasses();
  void FindExtensionsPointingNowhere();
  void Report(const std::wstring& name, const std::wstring& what);
  void ShowScanKey(const std::wstring& name);

  // All of these: set before the thread runs, then worker thread only.
  const int majorVersion_;
  const FileQueries files_;
  const std::vector<ClassesView> views_;
  std::optional<ClassRules> rules_;  // made in the worker thread, for the passes
  std::vector<std::wstring> names_, extensions_, brokenClasses_;
};
