#include "checker/app/THtmhelp.h"

#include <utility>
#include <vector>

#include "common/paths.h"
#include "common/text.h"

namespace {

// Commands of HtmlHelpA.
constexpr UINT kDisplayTopic = 0x0000;  // HH_DISPLAY_TOPIC
constexpr UINT kCloseAll = 0x0012;      // HH_CLOSE_ALL

// The unnamed value of a key, as ANSI text; empty when the key or the value cannot be read.
std::string DefaultValue(HKEY root, const std::string& path) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return {};
  const common::RegKey key(opened);
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.Get(), nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0)
    return {};
  std::vector<char> data(size + 1, '\0');
  if (RegQueryValueExA(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                       &size) != ERROR_SUCCESS)
    return {};
  std::string text(data.data());
  if (type == REG_EXPAND_SZ) {
    char expanded[MAX_PATH * 2] = {};
    const DWORD n = ExpandEnvironmentStringsA(text.c_str(), expanded, sizeof(expanded));
    if (n == 0 || n > sizeof(expanded)) return {};
    text = expanded;
  }
  return text;
}

}  // namespace

THtmhelp::THtmhelp(std::wstring helpFile, HKEY classesRoot)
    : helpFile_(std::move(helpFile)), classesRoot_(classesRoot) {
  LoadHHCtrl();
}

THtmhelp::~THtmhelp() { UnloadHHCtrl(); }

std::optional<std::wstring> THtmhelp::FindHHCtrl(HKEY classesRoot) {
  const std::string path =
      DefaultValue(classesRoot, common::ToAnsi(std::wstring(kControlClass) + L"\\InprocServer32"));
  if (path.empty()) return std::nullopt;
  const std::wstring file = common::FromAnsi(path);
  if (!common::FileExists(file)) return std::nullopt;
  return file;
}

bool THtmhelp::LoadHHCtrl() {
  UnloadHHCtrl();
  const std::optional<std::wstring> file = FindHHCtrl(classesRoot_);
  if (!file) return false;
  hhModule_.Reset(LoadLibraryA(common::ToAnsi(*file).c_str()));
  if (!hhModule_) return false;
  htmlHelpProc_ = reinterpret_cast<HtmlHelpFunction>(
      reinterpret_cast<void*>(GetProcAddress(hhModule_.Get(), "HtmlHelpA")));
  return htmlHelpProc_ != nullptr;
}

void THtmhelp::UnloadHHCtrl() {
  // A help window still open would be left with its code unloaded under it.
  if (htmlHelpProc_) htmlHelpProc_(nullptr, nullptr, kCloseAll, 0);
  htmlHelpProc_ = nullptr;
  hhModule_.Reset();  // a failure to unload changes nothing for the program
}

void THtmhelp::ShowTopic(const std::wstring& topic) const {
  if (!htmlHelpProc_) return;
  const std::string file = common::ToAnsi(helpFile_);
  const std::string page = common::ToAnsi(topic);
  // The control shows its own window; a missing file or topic is its business, not ours.
  htmlHelpProc_(nullptr, file.c_str(), kDisplayTopic, reinterpret_cast<DWORD_PTR>(page.c_str()));
}
