#include "shell/taskbar/FixedButtons.h"

#include "shell/core/SkinImages.h"

namespace {

// A lit or pressed image moves this far right and down; the highlight lightens it.
constexpr int16_t kPressedOffset = 2;
constexpr int16_t kHighlightBrightness = 50;
// The hit zone goes on this far past the image's last column.
constexpr int16_t kGapAfterImage = 5;

}  // namespace

int16_t FixedButtons::ReadIcon(int32_t Index, int16_t Left, int16_t OffsetX, int16_t OffsetY,
                               bool Arrow, bool Enabled, int16_t Brightness) {
  const auto x = static_cast<int16_t>(Left + OffsetX);
  int16_t last = 0;
  if (Index == kGripImage)
    last = canvas_.PaintSkin(1, SkinImages::QuickLaunch(kGripImage), x, OffsetY, true, 0);
  else if (Index >= ImageOf(FixedButton::Start) && Index <= ImageOf(FixedButton::Print))
    last = canvas_.PaintSkin(1, SkinImages::QuickLaunch(Index), x, OffsetY, Enabled, Brightness);
  if (Arrow && Index != kGripImage)
    canvas_.PaintSkin(1, SkinImages::ArrowOverlay(), x, OffsetY, true, 0);
  return last;
}

void FixedButtons::AddButton(int32_t Icon, bool Arrow, bool Enabled) {
  const int16_t last = ReadIcon(Icon, nextFixedX_, 0, 0, Arrow, Enabled, 0);
  const auto right = static_cast<int16_t>(nextFixedX_ + last + kGapAfterImage);
  if (Arrow) canvas_.PaintSkin(1, SkinImages::ArrowOverlay(), nextFixedX_, 0, true, 0);
  fClassList_.push_back({nextFixedX_, right, Icon, Arrow, Enabled});
  canvas_.Refresh(nextFixedX_, right);
  highlighted_ = kNone;
  nextFixedX_ = right;
}

int16_t FixedButtons::GetButtonIndex(double x) const {
  for (size_t i = 0; i < fClassList_.size(); ++i)
    if (fClassList_[i].Left < x && x < fClassList_[i].Right) return static_cast<int16_t>(i + 1);
  return Position(FixedButton::None);
}

const TaskBar_Container* FixedButtons::Reacting(int16_t position) const {
  if (position < 1 || position > static_cast<int16_t>(fClassList_.size())) return nullptr;
  const TaskBar_Container& r = fClassList_[static_cast<size_t>(position - 1)];
  return r.IconIndex != kGripImage && r.Enabled ? &r : nullptr;
}

void FixedButtons::DrawButton(int16_t position, Look look) {
  if (position < 1 || position > static_cast<int16_t>(fClassList_.size())) return;
  const TaskBar_Container& r = fClassList_[static_cast<size_t>(position - 1)];
  canvas_.PaintBackground(r.Left, r.Right);
  switch (look) {
    case Look::Normal:
      ReadIcon(r.IconIndex, r.Left, 0, 0, r.Arrow, r.Enabled, 0);
      break;
    case Look::Highlighted:
      ReadIcon(r.IconIndex, r.Left, kPressedOffset, kPressedOffset, r.Arrow, r.Enabled,
               kHighlightBrightness);
      break;
    case Look::Pressed:
      ReadIcon(r.IconIndex, r.Left, kPressedOffset, kPressedOffset, r.Arrow, r.Enabled, 0);
      break;
  }
  canvas_.Refresh(r.Left, r.Right + kPressedOffset);
}

void FixedButtons::RepaintIcon(int16_t Index) {
  if (Index == Position(FixedButton::None)) {
    ResetLastButton();
    return;
  }
  if (Index == highlighted_) return;
  if (Reacting(Index)) DrawButton(Index, Look::Highlighted);
  ResetLastButton();
  highlighted_ = Index;  // also when it was not drawn highlighted (the grip, a disabled one)
}

void FixedButtons::ResetLastButton() {
  if (highlighted_ != kNone) DrawButton(highlighted_, Look::Normal);
  highlighted_ = kNone;
}

void FixedButtons::ButtonEnable(int16_t Index, bool Enable) {
  if (Index < 1 || Index > static_cast<int16_t>(fClassList_.size())) return;
  fClassList_[static_cast<size_t>(Index - 1)].Enabled = Enable;
  RepaintIcon(Index);
  ResetLastButton();
}

void FixedButtons::RepaintAll() {
  for (size_t p = 1; p <= fClassList_.size(); ++p) RepaintIcon(static_cast<int16_t>(p));
}

void FixedButtons::Press(int x) {
  const int16_t p = GetButtonIndex(x);
  if (Reacting(p)) DrawButton(p, Look::Pressed);
}

int16_t FixedButtons::Release(int x) {
  const int16_t p = GetButtonIndex(x);
  if (!Reacting(p)) return Position(FixedButton::None);
  DrawButton(p, Look::Highlighted);
  return p;
}
