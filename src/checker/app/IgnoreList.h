#pragma once
// The ignore list: findings the user keeps on purpose. Scans leave them out of the result list
// and repairs never touch them. Kept in Set.ini beside the program, in a section of its own, one
// entry per key, in the system's code page:
//   [Ignore]
//   1=HKEY_CURRENT_USER|Software\示例|Path|C:\示例\a.exe
// The value holds the row's four texts as the result list showed them, separated by "|"; "%",
// "|", control characters, and blanks and quotes at either end of the value are written as "%XX"
// (hexadecimal), so that every text comes back as it was. Any key name will do; new entries get
// the next free number. UI thread only.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "checker/scanners/ScanResultRow.h"

// True when the two rows name the same finding: the same root name and location, compared
// without regard to case as Windows compares key names and paths, and for a registry row the
// same value name (Windows compares those without regard to case too; "@D_e_f_a_u_l_t", a value
// and the whole key stay three different findings). A disk row is its file or folder: its size
// text, like any description, may change between scans.
bool SameFinding(const ScanResultRow& a, const ScanResultRow& b);

// The value of an entry, and the row read back from one (none for a value without a root name).
std::wstring EncodeIgnoreEntry(const ScanResultRow& row);
std::optional<ScanResultRow> DecodeIgnoreEntry(std::wstring_view value);

class IgnoreList {
 public:
  static constexpr wchar_t kSection[] = L"Ignore";

  enum class Change {
    Done,           // on the list (or off it) and in the file
    NotInCodePage,  // a text the code page cannot hold: it would be stored wrong, so it is not
    NotWritten,     // the file could not be written: the list is as it was
  };

  // Reads the section of the settings file at `path` (a missing file or section: an empty list).
  void Load(const std::wstring& path);

  // The entries, with the texts they had when they were ignored, in the file's order.
  std::vector<ScanResultRow> Rows() const;
  bool Matches(const ScanResultRow& row) const;

  // Puts the row's finding on the list; nothing new when it is there already.
  Change Add(const ScanResultRow& row);
  // Takes every entry of the row's finding off the list; the section goes with the last one.
  Change Remove(const ScanResultRow& row);

 private:
  struct Entry {
    std::wstring key;  // its key name in the file
    ScanResultRow row;
  };
  void Rebuild();

  std::wstring path_;
  std::vector<Entry> entries_;
  std::vector<std::wstring> findings_;  // sorted: what Matches looks up
  unsigned nextKey_ = 1;
};
