#pragma once
// One task on the taskbar: a skinned face in one of two looks with the window's 16 x 16 icon and
// its caption, lit under the pointer and dark while the left button is held. A release over it
// minimises the task's window, or brings a minimised one back maximised and on top.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "common/handles.h"
#include "common/surface_window.h"
#include "shell/taskbar/TaskBarStyle.h"

class TaskBarButton : public common::SurfaceWindow {
 public:
  static constexpr uint32_t kBackColor = 12632319;  // the drawing surface's background
  // The face's height in the 3D grey look (Style 0) and in the flat look (Style 1).
  static constexpr int16_t kFaceHeight0 = 27, kFaceHeight1 = 24;

  // The taskbar hears when a release handler starts and ends: the handler lets pending
  // messages run, and a rebuild in between must not destroy the button under it.
  struct Host {
    std::function<void()> releaseBegins;
    std::function<void()> releaseEnds;
  };

  explicit TaskBarButton(Host host);
  ~TaskBarButton() override;

  // Creates the control, invisible, as a child of the taskbar.
  bool Create(HWND parent, int32_t style);
  // Makes a hidden button what a newly created one is: no task, no caption, no icon, the look.
  void Reset(int32_t style);

  int32_t Style() const { return style_; }
  void SetStyle(int32_t strStyle);
  HWND intHWND() const { return window_; }
  void SetIntHWND(HWND window) { window_ = window; }
  const std::wstring& Caption() const { return caption_; }
  // Also the control's window text, for the tools that read a screen's texts.
  void SetCaption(const std::wstring& caption);
  int16_t OffSet() const { return offSet_; }
  void SetOffSet(int16_t offSet) { offSet_ = offSet; }

  // The task's icon as an image string; PrintIcon paints it, and so does every later face.
  const std::string& Image() const { return image_; }
  void SetImage(const std::string& image) { image_ = image; }

  void LoadGUI();
  void WriteCaption(const std::wstring& Caption, int16_t Offest);
  void PrintIcon(const std::string& Icon);
  // Hover tracking on and off (a button starts without it).
  void SubClassMe() { StartPointerTracking(); }
  void UnSubClassMe() { StopPointerTracking(); }

  int16_t FaceHeight() const {
    return style_ == StyleValue(TaskBarStyle::Grey3D) ? kFaceHeight0 : kFaceHeight1;
  }
  bool Lit() const { return lit_ != 0; }

  // The window asks for attention: the button's normal face alternates with the lit (hover)
  // face; `lit` says which half of the flash it is in. The pointer's faces come first.
  void ShowFlash(bool lit);
  bool FlashLit() const { return flashLit_; }

  // What a release does to the task's window: restore a minimised one (maximised, topmost,
  // active), minimise any other.
  static void WindowAction(HWND window);

 protected:
  // Every new size paints the normal face (LoadGUI).
  void Compose(int width, int height) override;

 private:
  void PaintFace(int16_t brightness);
  int16_t PaintSkin(int16_t RunLength, const class SkinImage& Skin, int16_t OffsetX,
                    int16_t OffsetY, int16_t Brightness);
  // Lit under the pointer, normal when it leaves, dark while the left button is held; the
  // release acts on the task's window.
  void OnPointerOver() override;
  void OnPointerOut() override { LoadGUI(); }
  void OnLeftButtonDown() override;
  void OnLeftButtonUp() override;

  Host host_;
  int32_t style_ = StyleValue(TaskBarStyle::Flat);
  HWND window_ = nullptr;
  std::wstring caption_;
  std::string image_;
  int16_t offSet_ = 0;
  int16_t lit_ = 0;  // -1 while the lit or dark face is shown
  bool flashLit_ = false;  // the normal face is the lit one for now (a flashing window)
  common::Font font_;
};
