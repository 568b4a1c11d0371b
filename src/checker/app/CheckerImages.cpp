#include "checker/app/CheckerImages.h"

namespace {

// Resource ids: ImageList n, picture i -> n * 100 + i (see res/checker/images.rc).
bool Fill(ImageList& list, HINSTANCE module, int firstId, int count, int size) {
  list.Reset(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, count, 0));
  if (!list) return false;
  for (int i = 0; i < count; ++i) {
    const common::IconHandle icon(static_cast<HICON>(
        LoadImageW(module, MAKEINTRESOURCEW(firstId + i), IMAGE_ICON, size, size, 0)));
    if (!icon || ImageList_ReplaceIcon(list.Get(), -1, icon.Get()) != i) return false;
  }
  return true;
}

}  // namespace

bool CheckerImages::Load(HINSTANCE module) {
  const bool small = Fill(ImageList1, module, 100, kSmallCount, 16);
  const bool plain = Fill(ImageList2, module, 200, kToolCount, 32);
  const bool lit = Fill(ImageList3, module, 300, kToolCount, 32);
  return small && plain && lit;
}
