#include "support/registry.h"

#include <shlwapi.h>

#include <atomic>
#include <stdexcept>

#include "common/text.h"

namespace testing_support {

namespace {

HKEY CreateKey(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, common::ToAnsi(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("test key cannot be made");
  return key;
}

}  // namespace

TestKey::TestKey(HKEY root) : TestKey(root, L"Software\\ZephraTests", L"") {}

TestKey::TestKey(HKEY root, const std::wstring& parent, const std::wstring& prefix) : root_(root) {
  static std::atomic<int> count{0};
  path_ = parent + L"\\" + prefix + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++count);
  SHDeleteKeyA(root_, common::ToAnsi(path_).c_str());
  MakeKey(L"");
}

TestKey::~TestKey() { SHDeleteKeyA(root_, common::ToAnsi(path_).c_str()); }

std::wstring TestKey::PathOf(const std::wstring& relative) const {
  return relative.empty() ? path_ : path_ + L"\\" + relative;
}

void TestKey::MakeKey(const std::wstring& relative) const {
  RegCloseKey(CreateKey(root_, PathOf(relative)));
}

void TestKey::SetRaw(const std::wstring& relative, const std::wstring& name, DWORD type,
                     const std::string& bytes) const {
  HKEY key = CreateKey(root_, PathOf(relative));
  const LONG result =
      RegSetValueExA(key, common::ToAnsi(name).c_str(), 0, type,
                     reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) throw std::runtime_error("test value cannot be written");
}

void TestKey::SetText(const std::wstring& relative, const std::wstring& name,
                      const std::wstring& text, DWORD type) const {
  std::string bytes = common::ToAnsi(text);
  bytes.push_back('\0');
  SetRaw(relative, name, type, bytes);
}

void TestKey::SetWideText(const std::wstring& relative, const std::wstring& name,
                          const std::wstring& text, DWORD type) const {
  HKEY key = CreateKey(root_, PathOf(relative));
  const LONG result =
      RegSetValueExW(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) throw std::runtime_error("test value cannot be written");
}

void TestKey::SetDword(const std::wstring& relative, const std::wstring& name, DWORD value) const {
  SetRaw(relative, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), 4));
}

bool TestKey::KeyExists(const std::wstring& relative) const {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root_, common::ToAnsi(PathOf(relative)).c_str(), 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

}  // namespace testing_support
