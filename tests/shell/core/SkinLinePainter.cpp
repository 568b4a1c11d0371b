#include "SkinLinePainter.h"

#include <windows.h>

#include <string>

#include "common/handles.h"
#include "shell/core/ColorFunctions.h"

int16_t PaintSkinByLines(common::MemorySurface& target, bool taskBar, int32_t taskBarColor,
                         int16_t RunLength, std::string_view Skin, int16_t OffsetX,
                         int16_t OffsetY, bool Enabled, int16_t Brightness) {
  if (Skin.empty()) return 0;
  const std::string text(Skin);
  size_t pos = text.find(',');
  const int maxRow = std::stoi(text.substr(0, pos));
  int column = 0, row = 0;
  while (pos != std::string::npos) {
    const size_t next = text.find(',', pos + 1);
    int32_t v = std::stoi(text.substr(pos + 1, next == std::string::npos ? next : next - pos - 1));
    pos = next;
    if (row > maxRow) {
      row = 0;
      ++column;
    }
    if (v != -1) {
      if (taskBar && v == -2) v = taskBarColor;
      const int32_t color = Enabled ? ColorFunctions::AdjustBrightness(v, Brightness)
                                    : ColorFunctions::GrayColor(v);
      common::Pen pen(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(color)));
      common::ScopedSelect select(target.Dc(), pen.Get());
      MoveToEx(target.Dc(), OffsetX + column, OffsetY + row, nullptr);
      LineTo(target.Dc(), OffsetX + column + RunLength, OffsetY + row);
    }
    ++row;
  }
  GdiFlush();
  return static_cast<int16_t>(column);
}
