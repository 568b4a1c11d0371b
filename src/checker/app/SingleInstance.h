#pragma once
// The single-instance guard: a named mutex, created owned by this process. A second start of the
// program finds that it exists and ends at once, without a window.
#include <string>

#include "common/handles.h"

class SingleInstance {
 public:
  explicit SingleInstance(const std::wstring& name);
  ~SingleInstance();  // releases the mutex when this process owns it
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // False when another process made the mutex first.
  bool First() const { return first_; }

 private:
  common::KernelHandle mutex_;
  bool first_ = false;
};
