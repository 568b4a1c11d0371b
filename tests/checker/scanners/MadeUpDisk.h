#pragma once
// A made-up machine for the path rules and the scans built on them: drives C: and D: fixed, E: a
// CD-ROM drive, F: a network drive, every other letter missing; only the files and folders a test
// names exist. Letter case does not matter, as on Windows.
#include <algorithm>
#include <cwctype>
#include <set>
#include <string>
#include <vector>

#include "checker/scanners/FileQueries.h"

struct MadeUpDisk {
  std::set<std::wstring> files, folders;  // lower case
  std::vector<std::wstring> asked;        // every existence question, in order

  static std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return towlower(c); });
    return text;
  }

  // The queries refer to this object, which must outlive them.
  FileQueries Queries() {
    FileQueries queries;
    queries.DriveType = [](const std::wstring& root) -> unsigned {
      switch (root.empty() ? L'?' : towupper(root[0])) {
        case L'C':
        case L'D':
          return kDriveFixed;
        case L'E':
          return 5;  // DRIVE_CDROM
        case L'F':
          return 4;  // DRIVE_REMOTE
        default:
          return 1;  // DRIVE_NO_ROOT_DIR
      }
    };
    queries.LogicalDrives = [] { return 0x3Cul; };  // C: to F:
    queries.PathExists = [this](const std::wstring& path) {
      asked.push_back(path);
      std::wstring key = Lower(path);
      if (files.count(key)) return true;
      if (key.size() > 3 && key.back() == L'\\') key.pop_back();
      return folders.count(key) > 0;
    };
    queries.FileExists = [this](const std::wstring& path) {
      asked.push_back(path);
      return files.count(Lower(path)) > 0;
    };
    return queries;
  }
};
