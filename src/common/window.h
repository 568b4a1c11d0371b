#pragma once
// Base class of every window and custom control: registers its window class once, creates the
// window with `this` attached and routes messages to HandleMessage. No exception ever leaves a
// window procedure: an error inside a handler is dropped and the message answered with 0.
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
  };

  bool Create(const ClassSpec& windowClass, DWORD exStyle, const std::wstring& title, DWORD style,
              int x, int y, int width, int height, HWND parent, HMENU menuOrId = nullptr);

  // Default: DefWindowProcW.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

  // Called after WM_NCDESTROY, when the handle is gone.
  virtual void OnDestroyed() {}

 private:
  static LRESULT CALLBACK Router(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

// Keeps the keyboard focus on the same control while its top-level window is switched away from
// and back to: the window remembers the focused control when it is deactivated and gives it the
// focus again when it gets the focus itself.
class FocusMemory {
 public:
  void Set(HWND control) { focused_ = control; }
  HWND Get() const { return focused_; }
  // On WM_ACTIVATE: remembers the focused control when `window` goes inactive.
  void OnActivate(HWND window, WPARAM wParam);
  // On WM_SETFOCUS of the window: passes the focus on to the remembered control.
  void OnSetFocus() const;

 private:
  HWND focused_ = nullptr;
};

// The whole text of a window or control, however long.
std::wstring TextOf(HWND window);

// Creates a child control of a system class (BUTTON, EDIT, STATIC, ...).
HWND CreateControl(const wchar_t* className, const std::wstring& text, DWORD style, int x, int y,
                   int width, int height, HWND parent, int id, DWORD exStyle = 0);

}  // namespace common
