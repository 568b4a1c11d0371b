#include "checker/scanners/ShellLink.h"

#include <cstring>

#include "common/handles.h"
#include "common/text.h"

ShellLinkReader::ShellLinkReader() {
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link_.Out())) ||
      !link_)
    return;
  if (FAILED(link_->QueryInterface(IID_IPersistFile, file_.Out()))) file_.Reset();
  if (FAILED(link_->QueryInterface(IID_IShellLinkW, wide_.Out()))) wide_.Reset();
}

namespace {

// The attributes of the target as the shortcut file keeps them in its header (at offset 0x18 of
// the 0x4C-byte header); 0 when they cannot be read. Windows writes them when it makes the
// shortcut; some systems leave them 0.
DWORD StoredAttributes(const std::wstring& linkPath) {
  const common::KernelHandle file(CreateFileW(linkPath.c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
  if (!file) return 0;
  unsigned char header[0x4C] = {};
  DWORD read = 0;
  if (!ReadFile(file.Get(), header, sizeof(header), &read, nullptr) || read != sizeof(header) ||
      header[0] != 0x4C)
    return 0;
  DWORD attributes = 0;
  memcpy(&attributes, header + 0x18, sizeof(attributes));
  return attributes;
}

}  // namespace

ShellLinkReader::Facts ShellLinkReader::LoadedFacts(const std::wstring& linkPath,
                                                    const std::wstring& target) {
  Facts facts;
  facts.folder = (!target.empty() && target.back() == L'\\') ||
                 (StoredAttributes(linkPath) & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (!wide_) return facts;
  wchar_t path[MAX_PATH] = {};
  WIN32_FIND_DATAW found = {};
  if (FAILED(wide_->GetPath(path, MAX_PATH, &found, SLGP_UNCPRIORITY))) return facts;
  path[MAX_PATH - 1] = L'\0';
  if (found.dwFileAttributes != INVALID_FILE_ATTRIBUTES &&
      (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    facts.folder = true;
  facts.wholeInCodePage = common::FromAnsi(common::ToAnsi(path)) == path;
  return facts;
}

std::wstring ShellLinkReader::Target(const std::wstring& linkPath) {
  if (!Ready() || linkPath.empty() || linkPath.size() >= MAX_PATH) return {};
  // A file that fails to load leaves the object as the previous shortcut left it: its path must
  // not be taken for this file's.
  if (FAILED(file_->Load(linkPath.c_str(), STGM_READ))) return {};
  char path[MAX_PATH] = {};
  // No find data: filling it in costs the system a look at the target's drive for every file.
  if (FAILED(link_->GetPath(path, MAX_PATH, nullptr, SLGP_UNCPRIORITY))) return {};
  path[MAX_PATH - 1] = '\0';
  return common::FromAnsi(path);
}
