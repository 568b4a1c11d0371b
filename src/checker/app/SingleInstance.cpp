#include "checker/app/SingleInstance.h"

#include "common/text.h"

SingleInstance::SingleInstance(const std::wstring& name) {
  mutex_.Reset(CreateMutexA(nullptr, TRUE, common::ToAnsi(name).c_str()));
  // A mutex that cannot be made at all does not stop the program.
  first_ = !mutex_ || GetLastError() != ERROR_ALREADY_EXISTS;
}

SingleInstance::~SingleInstance() {
  if (first_ && mutex_) ReleaseMutex(mutex_.Get());
}
