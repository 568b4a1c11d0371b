#pragma once
// Resource numbers of the shell's own pictures (res/shell/artwork.rc).
constexpr int kRunDialogPicture = 110;
constexpr int kSearchIcon = 2;
