#pragma once
// A private registry tree for one test: made below HKEY_CURRENT_USER "Software\ZephraTests" (or
// another root), filled by the test, removed with everything in it at the end.
#include <windows.h>

#include <string>

namespace testing_support {

class TestKey {
 public:
  explicit TestKey(HKEY root = HKEY_CURRENT_USER);
  // A tree named `prefix` + a number of its own, directly below the key `parent` of the root
  // (for keys that must stand where the scans look, such as "Software" itself).
  TestKey(HKEY root, const std::wstring& parent, const std::wstring& prefix);
  ~TestKey();
  TestKey(const TestKey&) = delete;
  TestKey& operator=(const TestKey&) = delete;

  HKEY Root() const { return root_; }
  // The tree's path below its root, e.g. "Software\ZephraTests\1234-1".
  const std::wstring& Path() const { return path_; }
  // `relative` below the tree ("" for the tree itself).
  std::wstring PathOf(const std::wstring& relative) const;

  // Makes the key `relative` (and its parents) below the tree.
  void MakeKey(const std::wstring& relative) const;
  // Writes a value (name "" for the default) of any type, with exactly these bytes.
  void SetRaw(const std::wstring& relative, const std::wstring& name, DWORD type,
              const std::string& bytes) const;
  // A REG_SZ value written through the ANSI functions (GBK on the test machines), terminated.
  void SetText(const std::wstring& relative, const std::wstring& name, const std::wstring& text,
               DWORD type = REG_SZ) const;
  // A string value written through the wide functions, so that it may hold characters the code
  // page cannot.
  void SetWideText(const std::wstring& relative, const std::wstring& name, const std::wstring& text,
                   DWORD type = REG_SZ) const;
  void SetDword(const std::wstring& relative, const std::wstring& name, DWORD value) const;
  bool KeyExists(const std::wstring& relative) const;

 private:
  HKEY root_;
  std::wstring path_;
};

}  // namespace testing_support
