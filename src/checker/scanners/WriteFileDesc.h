#pragma once
// Records where a program file lives: a registry string value named after the file's product
// name (from its version resource) whose data is the file's full path. The checker writes its
// own location below HKEY_LOCAL_MACHINE "SOFTWARE\Tarq" at every start, so the key always holds
// the current place of the program.
#include <windows.h>

#include <string>

class TWriteFileDesc {
 public:
  TWriteFileDesc(HKEY rootKey, std::wstring keyPath, std::wstring fileName);

  // Writes the value; true when it was written. Every failure (missing file, a key that cannot
  // be opened for writing) ends quietly with false.
  bool WriteDesc() const;

  // One string of the file's version resource ("ProductName", ...), taken from the resource's
  // first translation; empty when it cannot be read.
  static std::wstring GetVersionString(const std::wstring& fileName, const std::wstring& itemName);

  HKEY RootKey() const { return rootKey_; }
  const std::wstring& KeyPath() const { return keyPath_; }
  const std::wstring& FileName() const { return fileName_; }

 private:
  HKEY rootKey_;
  std::wstring keyPath_;
  std::wstring fileName_;
};
