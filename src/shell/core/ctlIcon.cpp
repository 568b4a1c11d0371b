#include "shell/core/ctlIcon.h"

#include <cstring>
#include <vector>

#include "common/font.h"
#include "common/screen.h"
#include "common/text.h"

namespace {

bool OwnThread(HWND window) {
  return window != nullptr && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

// True when the focus comes from another control of the same window (Tab, a click on another
// icon). The window itself handing the focus on as it becomes active again is not that.
bool FromSiblingControl(HWND from, HWND self) {
  if (!OwnThread(from) || from == self) return false;
  const HWND root = GetAncestor(self, GA_ROOT);
  return from != root && GetAncestor(from, GA_ROOT) == root;
}

}  // namespace

ctlIcon::ctlIcon(int index, Events events) : index_(index), events_(std::move(events)) {}

ctlIcon::~ctlIcon() { Destroy(); }

bool ctlIcon::Create(HWND parent, int x, int y, HBITMAP picture, const std::wstring& savedCaption) {
  if (picture)
    picture_.Reset(
        static_cast<HBITMAP>(CopyImage(picture, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  // The magenta key allows no half-transparent pixels, so the caption is drawn without
  // smoothing: a smoothed edge would show as a pink fringe.
  font_ = common::CreatePointFont(L"宋体", 9, FW_NORMAL, GB2312_CHARSET, NONANTIALIASED_QUALITY);
  DrawingSurface().Resize(common::TwipsToPixelsX(kBoxWidthTwips),
                          common::TwipsToPixelsY(kBoxHeightTwips), kMaskColor);
  ClassSpec windowClass;
  windowClass.name = L"ZephraDesktopIcon";
  windowClass.cursor = LoadCursorW(nullptr, IDC_ARROW);
  if (!Window::Create(windowClass, 0, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, x,
                      y, BoxWidth(), BoxHeight() + kExtraHeight, parent))
    return false;
  caption_ = savedCaption;
  Clear();
  LoadGUI();
  return true;
}

void ctlIcon::SetCaption(const std::wstring& caption) {
  caption_ = caption.find(L"\r\n") == std::wstring::npos ? caption + L"\r\n" : caption;
  Clear();
  LoadGUI();
}

void ctlIcon::Clear() {
  common::MemorySurface& box = DrawingSurface();
  box.FillRect(0, 0, box.Width(), box.Height(), kMaskColor);
  common::DrawPicture(box.Dc(), picture_.Get(), 0, 0);
  GdiFlush();
}

void ctlIcon::WriteCaption(const std::wstring& Caption, int Offest, int Offest2, COLORREF Color) {
  HDC dc = DrawingSurface().Dc();
  common::ScopedSelect font(dc, font_.Get());
  SetTextColor(dc, Color);
  SetBkMode(dc, TRANSPARENT);
  const std::string text = common::ToAnsi(Caption);
  const int n = static_cast<int>(text.size());
  RECT measure = {0, 0, BoxWidth(), BoxHeight()};
  DrawTextA(dc, text.c_str(), n, &measure, DT_CALCRECT | DT_CENTER);
  const int textHeight = measure.bottom - measure.top;
  RECT place = {Offest, BoxHeight() - textHeight + Offest2, BoxWidth(), BoxHeight() + textHeight};
  DrawTextA(dc, text.c_str(), n, &place, DT_CENTER);
  GdiFlush();
}

void ctlIcon::LoadGUI() {
  WriteCaption(caption_, 2, 1, RGB(0, 0, 0));
  WriteCaption(caption_, 0, 0, RGB(255, 255, 255));
  SetWindowPos(Handle(), nullptr, 0, 0, BoxWidth(), BoxHeight() + kExtraHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyShape();
  Present();
}

void ctlIcon::ApplyShape() {
  // One rectangle per run of face pixels in each row; the rows below the box are left out.
  std::vector<RECT> runs;
  const common::MemorySurface& box = Surface();
  const uint32_t* pixels = box.Pixels();
  const uint32_t mask = common::ColorToPixel(kMaskColor);
  for (int y = 0; y < box.Height(); ++y) {
    const uint32_t* row = pixels + static_cast<size_t>(y) * box.Width();
    for (int x = 0; x < box.Width();) {
      if ((row[x] & 0xFFFFFF) == mask) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < box.Width() && (row[x] & 0xFFFFFF) != mask) ++x;
      runs.push_back({start, y, x, y + 1});
    }
  }
  std::vector<char> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
  auto* region = reinterpret_cast<RGNDATA*>(data.data());
  region->rdh.dwSize = sizeof(RGNDATAHEADER);
  region->rdh.iType = RDH_RECTANGLES;
  region->rdh.nCount = static_cast<DWORD>(runs.size());
  region->rdh.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
  region->rdh.rcBound = {0, 0, box.Width(), box.Height()};
  if (!runs.empty()) memcpy(region->Buffer, runs.data(), runs.size() * sizeof(RECT));
  HRGN shape = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), region);
  // The window owns the region from here on.
  if (shape && !SetWindowRgn(Handle(), shape, TRUE)) DeleteObject(shape);
}

LRESULT ctlIcon::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      // A single click gives the icon the focus. An icon that got the focus back only because
      // the desktop became active again opens its link at the user's first click on it.
      if (GetFocus() != Handle()) {
        SetFocus(Handle());
      } else if (focusGivenBack_) {
        focusGivenBack_ = false;
        if (events_.gotFocus) events_.gotFocus(index_);
      }
      return 0;
    case WM_SETFOCUS:
      // Only a focus that moves here from another control of the desktop counts: when the
      // desktop comes back to the front (an application closed, a click on the taskbar), the
      // icon regains the focus without opening its link again.
      focusGivenBack_ = !FromSiblingControl(reinterpret_cast<HWND>(wParam), Handle());
      if (!focusGivenBack_ && events_.gotFocus) events_.gotFocus(index_);
      return 0;
    case WM_KILLFOCUS:
      focusGivenBack_ = false;
      if (OwnThread(reinterpret_cast<HWND>(wParam)) && events_.lostFocus) events_.lostFocus(index_);
      return 0;
    default:
      return SurfaceWindow::HandleMessage(message, wParam, lParam);
  }
}
