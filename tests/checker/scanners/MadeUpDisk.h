#pragma once
// A made-up machine for the path rules and the scans built on them: drives C: and D: fixed, E: a
// CD-ROM drive, F: a network drive, every other letter missing; only the files and folders a test
// names exist. Letter case does not matter, as on Windows.
#include <algorithm>
#include <cwctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "checker/scanners/FileQueries.h"

struct MadeUpDisk {
  std::set<std::wstring> files, folders;  // lower case
  std::vector<std::wstring> asked;        // every existence question, in order
  // Environment variables by their lower-case name; more than one value stands for a variable
  // with two meanings (%ProgramFiles% on 64-bit Windows). Others stay unexpanded.
  std::map<std::wstring, std::vector<std::wstring>> variables;

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
    queries.Expand = [this](const std::wstring& text) {
      std::vector<std::wstring> forms = {text};
      for (const auto& [name, values] : variables) {
        std::vector<std::wstring> next;
        for (const std::wstring& form : forms) {
          const size_t at = Lower(form).find(L"%" + name + L"%");
          if (at == std::wstring::npos) {
            next.push_back(form);
            continue;
          }
          for (const std::wstring& value : values)
            next.push_back(form.substr(0, at) + value + form.substr(at + name.size() + 2));
        }
        forms = next;
      }
      return forms;
    };
    return queries;
  }
};
