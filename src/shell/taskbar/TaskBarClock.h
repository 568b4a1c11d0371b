#pragma once
// The clock at the strip's right end: the long date above the time, in the system's formats,
// right-aligned 4 pixels from the strip's right edge and centred from top to bottom. It is painted
// only when its text changes (once a second), not at every tick. UI thread only.
#include <climits>
#include <functional>
#include <string>

#include "common/handles.h"
#include "shell/taskbar/StripCanvas.h"
#include "shell/taskbar/StripLayout.h"

class TaskBarClock {
 public:
  // Where the text comes from: the real clock, or a test's own.
  using TextSource = std::function<std::wstring()>;

  TaskBarClock();

  // Paints the text when it differs from the one painted last; `area` is the clock's share of
  // the strip (a longer text reaches further left, and that part is cleared too).
  void Tick(StripCanvas& canvas, const StripLayout::Area& area);
  // The strip was painted over: the next tick paints the text again.
  void Forget() {
    shown_.clear();
    shownLeft_ = INT_MAX;
  }

  void SetTextSource(TextSource source) { text_ = std::move(source); }
  // The current date in the system's long date format, CR LF, the time in its time format.
  static std::wstring Now();

 private:
  common::Font font_;
  TextSource text_;
  std::string shown_;  // the text painted last, in the ANSI code page
  int shownLeft_ = INT_MAX;  // where it began
};
