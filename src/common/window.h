#pragma once
// Base class of every window and custom control: registers its window class once, creates the
// window with `this` attached from WM_NCCREATE on, and routes every message to HandleMessage. No
// exception ever leaves a window procedure: an error inside a handler is dropped and the message
// answered with 0.
//
// One teardown rule, kept by every window:
// - A window's own destructor destroys its window (`Destroy()`, first thing), so that its own
//   WM_DESTROY handling runs while the whole object still exists.
// - The base destructor is the last resort for a window that is still there: it clears the
//   router's link before it destroys the window, so that no message of the destruction reaches
//   an object whose derived part is already gone.
// - Nothing a window registered outlives it: its keyboard routing ends with its WM_NCDESTROY (the
//   router sees to it, also on the last-resort path), its hover tracking ends at WM_NCDESTROY,
//   and its timers end with it.
// - Members that hold child windows are declared in the order they are created, so that they go
//   in the reverse order.
#include <windows.h>

#include <string>

namespace common {

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }

  // Destroys the window now (WM_DESTROY runs); safe to call when it no longer exists.
  void Destroy();

 protected:
  struct ClassSpec {
    const wchar_t* name = nullptr;
    UINT style = 0;
    HBRUSH background = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;  // arrow when null

    // A class of the system's dialog look: the button face behind the window.
    static ClassSpec ButtonFace(const wchar_t* name, HICON icon = nullptr) {
      ClassSpec windowClass;
      windowClass.name = name;
      windowClass.background = GetSysColorBrush(COLOR_BTNFACE);
      windowClass.icon = icon;
      return windowClass;
    }
  };

  bool Create(const ClassSpec& windowClass, DWORD exStyle, const std::wstring& title, DWORD style,
              int x, int y, int width, int height, HWND parent, HMENU menuOrId = nullptr);
  // A program's main window at the system's default place: its client area is the given size in
  // twips, Tab moves between its controls, and it shows `smallIcon` (when there is one) in its
  // title bar and on its taskbar button.
  // A window of the given size in the middle of the screen.
  bool CreateCentred(const ClassSpec& windowClass, DWORD exStyle, const std::wstring& title,
                     DWORD style, int width, int height, HWND owner);
  bool CreateMainWindow(const ClassSpec& windowClass, const std::wstring& title, DWORD style,
                        double clientWidthTwips, double clientHeightTwips, HICON smallIcon);

  // Default: DefWindowProcW.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

  // Called after WM_NCDESTROY, when the handle is gone.
  virtual void OnDestroyed() {}

 private:
  static LRESULT CALLBACK Router(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

// The whole text of a window or control, however long.
std::wstring TextOf(HWND window);
// The whole text of a list view's item (column 0) or sub-item, however long.
std::wstring ItemTextOf(HWND listView, int row, int column);

// Creates a child control of a system class (BUTTON, EDIT, STATIC, ...).
HWND CreateControl(const wchar_t* className, const std::wstring& text, DWORD style, int x, int y,
                   int width, int height, HWND parent, int id, DWORD exStyle = 0);

}  // namespace common
