#pragma once
// One line of the checker's result list. Every scanner produces rows of this one shape, and the
// repair acts on them by root name and value name.
#include <string>

struct ScanResultRow {
  std::wstring Item;         // registry root name, or a disk finding label
  std::wstring Location;     // key path below the root, or the full path of a file or folder
  std::wstring KeyName;      // value name, kDefaultValueName, empty for a whole key
  std::wstring Description;  // the offending data, or a label
  int ImageIndex = 0;

  bool operator==(const ScanResultRow&) const = default;
};

// Key name of a row that stands for a key's unnamed default value.
inline constexpr wchar_t kDefaultValueName[] = L"@D_e_f_a_u_l_t";

// Image indices of ImageList1 that carry meaning in the result list.
inline constexpr int DllImage = 6;       // a shared-DLL finding
inline constexpr int RepairedImage = 9;  // a row already repaired
