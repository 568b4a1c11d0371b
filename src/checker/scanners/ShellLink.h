#pragma once
// Reading where shortcut files (".lnk") point, through the system's shell link object. One
// reader serves a whole walk: making the object costs far more than loading a file into it.
// A reader belongs to the thread that made it.
#include <windows.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <string>
#include <utility>

#include "common/com.h"

// A COM interface pointer, released once.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  Interface* Get() const { return p_; }
  Interface* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For the functions that hand out a new reference.
  void** Out() {
    Reset();
    return reinterpret_cast<void**>(&p_);
  }
  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }

 private:
  Interface* p_ = nullptr;
};

class ShellLinkReader {
 public:
  // Makes the shell link object; Ready() is false when the system could not.
  ShellLinkReader();
  ShellLinkReader(const ShellLinkReader&) = delete;
  ShellLinkReader& operator=(const ShellLinkReader&) = delete;

  bool Ready() const { return link_ && file_; }

  // The path the shortcut file points to, as the system's ANSI shell link gives it
  // (IShellLinkA::GetPath, network paths in their UNC form): the path as stored even when the
  // target is gone. Empty when the file cannot be loaded as a shortcut or names no file-system
  // path (a Control Panel item, a printer).
  std::wstring Target(const std::wstring& linkPath);

  // Of the shortcut file `linkPath` loaded last by Target(): whether it was made for a folder
  // (the target's attributes it keeps, or those the wide shell link reports, say so, or its
  // target ends in a backslash), and whether its target reads the same through the wide shell
  // link as through the ANSI one (no character the code page could not hold). Asked only of a
  // shortcut whose target is missing: it reads the file's header once more.
  struct Facts {
    bool folder = false;
    bool wholeInCodePage = true;
  };
  Facts LoadedFacts(const std::wstring& linkPath, const std::wstring& target);

 private:
  // Declared first, so that the object is released before COM ends.
  common::ComApartment com_;
  ComPtr<IShellLinkA> link_;
  ComPtr<IShellLinkW> wide_;
  ComPtr<IPersistFile> file_;
};
