#include "shell/taskbar/TaskBarClock.h"

#include <windows.h>

#include <algorithm>
#include <climits>

#include "common/font.h"
#include "common/screen.h"
#include "common/text.h"

namespace {
// The text's rectangle spans the strip but for this margin at each end.
constexpr int kTextMargin = 4;
}  // namespace

TaskBarClock::TaskBarClock()
    : font_(common::CreatePointFont(L"Tahoma", 8.25, FW_BOLD, ANSI_CHARSET)), text_(&Now) {}

std::wstring TaskBarClock::Now() {
  char date[128] = {}, time[64] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr, date, sizeof(date));
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, sizeof(time));
  return common::FromAnsi(date) + L"\r\n" + common::FromAnsi(time);
}

void TaskBarClock::Tick(StripCanvas& canvas, const StripLayout::Area& area) {
  const std::string text = common::ToAnsi(text_());
  // The text changes once a second; the ticks in between would paint the same pixels.
  if (text == shown_) return;
  shown_ = text;
  const int width = canvas.Width(), height = canvas.Height();
  const int n = static_cast<int>(text.size());
  HDC dc = canvas.Surface().Dc();
  common::ScopedSelect font(dc, font_.Get());
  RECT r = {kTextMargin, 0, width - kTextMargin, height};
  const int h = DrawTextA(dc, text.c_str(), n, &r, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
  // A long date reaches further left than the clock's share, and that part is cleared too, as
  // far as the new text or the one painted before reaches: otherwise what the longer of the two
  // painted there would stay beside the new one (at the turn of a month the date gets shorter).
  const int textLeft = width - kTextMargin - (r.right - r.left);
  const int clearLeft =
      std::max(std::min({area.left, textLeft, shownLeft_}), StripLayout::kBorder);
  shownLeft_ = textLeft;
  canvas.PaintBackground(clearLeft, area.right);
  r = {kTextMargin, static_cast<LONG>(common::RoundHalfEven(height / 2.0 - h / 2.0)),
       width - kTextMargin, static_cast<LONG>(common::RoundHalfEven(h / 2.0 + height / 2.0))};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  DrawTextA(dc, text.c_str(), n, &r, DT_WORDBREAK | DT_RIGHT);
  GdiFlush();
  canvas.Refresh(clearLeft, width);
}
