#include "checker/scanners/WriteFileDesc.h"

#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "common/handles.h"
#include "common/paths.h"
#include "common/text.h"

TWriteFileDesc::TWriteFileDesc(HKEY rootKey, std::wstring keyPath, std::wstring fileName)
    : rootKey_(rootKey), keyPath_(std::move(keyPath)), fileName_(std::move(fileName)) {}

bool TWriteFileDesc::WriteDesc() const {
  if (!common::FileExists(fileName_)) return false;
  HKEY opened = nullptr;
  // Only the right to write is asked for: the value is all this program ever puts there.
  if (RegCreateKeyExA(rootKey_, common::ToAnsi(keyPath_).c_str(), 0, nullptr,
                      REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &opened,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const common::RegKey key(opened);
  // An empty product name writes the key's unnamed default value.
  const std::string name = common::ToAnsi(GetVersionString(fileName_, L"ProductName"));
  const std::string data = common::ToAnsi(fileName_);
  return RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

std::wstring TWriteFileDesc::GetVersionString(const std::wstring& fileName,
                                              const std::wstring& itemName) {
  const std::string file = common::ToAnsi(fileName);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(file.c_str(), 0, size, block.data())) return {};

  const std::string item = common::ToAnsi(itemName);
  std::string subBlock = item;
  void* translation = nullptr;
  UINT length = 0;
  if (VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &translation, &length) &&
      translation != nullptr && length >= sizeof(DWORD)) {
    DWORD entry = 0;
    memcpy(&entry, translation, sizeof(entry));
    char query[64];
    snprintf(query, sizeof(query), "\\StringFileInfo\\%04x%04x\\",
             static_cast<unsigned>(entry & 0xFFFF), static_cast<unsigned>((entry >> 16) & 0xFFFF));
    subBlock = query + item;
  }
  char* text = nullptr;
  if (!VerQueryValueA(block.data(), subBlock.c_str(), reinterpret_cast<void**>(&text), &length) ||
      text == nullptr || length == 0)
    return {};
  return common::FromAnsi(std::string_view(text, strnlen(text, length)));
}
