#include "checker/scanners/ShellLink.h"

#include "common/text.h"

ShellLinkReader::ShellLinkReader() {
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link_.Out())) ||
      !link_)
    return;
  if (FAILED(link_->QueryInterface(IID_IPersistFile, file_.Out()))) file_.Reset();
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
