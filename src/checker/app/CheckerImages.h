#pragma once
// The main window's three image lists, loaded from the program's resources.
//   ImageList1  16 x 16: menus, result rows, check-list rows (indices with a meaning: 6 DllImage,
//               9 RepairedImage, 10-21 the check-list rows)
//   ImageList2  32 x 32: tool buttons
//   ImageList3  32 x 32: tool buttons under the pointer
#include <windows.h>

#include <commctrl.h>

#include "common/handles.h"

struct ImageListTraits {
  using Type = HIMAGELIST;
  static Type Invalid() { return nullptr; }
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) { ImageList_Destroy(h); }
};
using ImageList = common::UniqueHandle<ImageListTraits>;

struct CheckerImages {
  static constexpr int kSmallCount = 22;
  static constexpr int kToolCount = 6;

  ImageList ImageList1, ImageList2, ImageList3;

  // Loads all three; false when a picture is missing.
  bool Load(HINSTANCE module);
};
