#include "checker/scanners/TarqChkRegErr.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "checker/scanners/PathRules.h"
#include "checker/scanners/Registry.h"

namespace {

// The registry nests keys at most 512 levels deep; a deeper path can only come from a loop of
// symbolic links, which the walk must not follow for ever.
constexpr int kDeepestKey = 512;

constexpr std::wstring_view kSkippedKeys[] = {
    L"software\\classes",
    L"software\\microsoft\\installer",
    L"software\\microsoft\\windows\\currentversion\\installer",
    L"software\\microsoft\\windows\\currentversion\\uninstall",
    L"software\\microsoft\\windows\\currentversion\\shareddlls",
    L"software\\microsoft\\windows\\currentversion\\internet settings",
    L"software\\microsoft\\windows\\currentversion\\explorer\\menuorder",
    L"software\\microsoft\\windows\\help",
    L"software\\microsoft\\windows\\html help",
    L"software\\microsoft\\windows\\currentversion\\fonts",
    L"software\\microsoft\\windows\\currentversion\\explorer\\shell folders",
    L"software\\microsoft\\windows\\currentversion\\explorer\\docfolderpaths",
    L"software\\microsoft\\windows\\currentversion\\telephony",
    L"software\\national instruments\\ni-servers",
};

constexpr std::wstring_view kSkippedParts[] = {
    L"software\\microsoft\\installer",
    L"oracleorahome81tns",
    L"l3 generator with c45",
    L"extended keyboard",
    L"services\\winsock2\\parameters\\namespace_catalog",
    L"time zones",
    L"%username%",
    L"rational",
    L"acadm",
    L"services\\eventsystem",
    L"services\\msdtc",
    L"software\\microsoft\\windows\\currentversion\\explorer\\shell folders",
};

// The 32-bit program's own registry view on 64-bit Windows is this key again (older 64-bit
// Windows even list it inside itself, a loop); the walk reads the view that repair writes.
constexpr std::wstring_view kOtherView = L"wow6432node";

std::wstring AsciiLower(std::wstring_view text) {
  std::wstring lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c;
  });
  return lower;
}

// Blanks and control characters at both ends go, as a person reading the value would see it.
std::wstring Trimmed(const std::wstring& text) {
  const auto kept = [](wchar_t c) { return c > L' '; };
  const auto first = std::find_if(text.begin(), text.end(), kept);
  const auto last = std::find_if(text.rbegin(), text.rend(), kept).base();
  return first < last ? std::wstring(first, last) : std::wstring();
}

// Windows Installer keeps its records below "Installer" keys of these parents: a root's or a
// user's classes ("Software\Classes", "S-1-5-21-..._Classes"), "Software\Microsoft" and
// "...\Windows\CurrentVersion" (whatever the root and the user).
bool BelowInstallerRecords(const std::wstring& lower) {
  std::wstring_view parent;
  size_t start = 0;
  while (start <= lower.size()) {
    const size_t end = std::min(lower.find(L'\\', start), lower.size());
    const std::wstring_view name = std::wstring_view(lower).substr(start, end - start);
    if (name == L"installer" &&
        (parent == L"classes" || parent == L"microsoft" || parent == L"currentversion" ||
         (parent.size() > 8 && parent.substr(parent.size() - 8) == L"_classes")))
      return true;
    parent = name;
    start = end + 1;
  }
  return false;
}

}  // namespace

TChkRegErr::TChkRegErr(HKEY rootKey, std::wstring winDir, FileQueries files)
    : TChkRegErr(Start{rootKey, L"", registry::RootName(rootKey)}, std::move(winDir),
                 std::move(files)) {}

TChkRegErr::TChkRegErr(Start start, std::wstring winDir, FileQueries files)
    : start_(std::move(start)),
      winDir_(std::move(winDir)),
      files_(FileQueries::RememberingDriveTypes(std::move(files))) {}

bool TChkRegErr::Skipped(std::wstring_view path) {
  const std::wstring lower = AsciiLower(path);
  if (BelowInstallerRecords(lower)) return true;
  const size_t lastSeparator = lower.rfind(L'\\');
  const std::wstring_view name =
      std::wstring_view(lower).substr(lastSeparator == std::wstring::npos ? 0 : lastSeparator + 1);
  return name == kOtherView ||
         std::find(std::begin(kSkippedKeys), std::end(kSkippedKeys), lower) !=
             std::end(kSkippedKeys) ||
         std::any_of(
             std::begin(kSkippedParts), std::end(kSkippedParts),
             [&](std::wstring_view part) { return lower.find(part) != std::wstring::npos; });
}

void TChkRegErr::Execute() { ScanRoot(); }

void TChkRegErr::ScanRoot() {
  const registry::Key root = registry::Key::Open(start_.rootKey, start_.startPath);
  for (const std::wstring& name : root.SubkeyNames()) {
    if (Terminated()) return;
    if (!name.empty()) ScanKey(root, name, name, 1);
  }
}

void TChkRegErr::ScanKey(const registry::Key& parent, const std::wstring& name,
                         const std::wstring& path, int depth) {
  if (Skipped(path) || depth > kDeepestKey) return;
  if (Terminated()) return;
  ShowStatus(L"扫描：" + start_.rootKeyName + L"\\" + path);

  // Each key is opened below its parent, which stays open while its subkeys are walked: a full
  // path can be longer than some systems take in one opening.
  const registry::Key key = registry::Key::Open(parent.Get(), name);
  if (!key) return;  // a key that cannot be opened has no values and no subkeys
  const std::vector<std::wstring> subkeys = key.SubkeyNames();
  CheckValues(path, key);
  for (const std::wstring& subkey : subkeys) {
    if (Terminated()) return;
    if (!subkey.empty()) ScanKey(key, subkey, path + L"\\" + subkey, depth + 1);
  }
}

bool TChkRegErr::NameIsBad(const registry::Key& key, const std::wstring& name,
                           std::wstring_view winDir, const FileQueries& files) {
  return IsBadPath(name, winDir, files) && key.SameThroughWide(name);
}

std::optional<std::wstring> TChkRegErr::TextIsBad(const registry::Key& key,
                                                  const registry::NamedValue& value,
                                                  std::wstring_view winDir,
                                                  const FileQueries& files) {
  const std::optional<std::wstring> text = registry::TextOf(value.Type, value.Data);
  if (!text) return std::nullopt;
  std::wstring data = Trimmed(*text);
  if (!IsBadPath(data, winDir, files) || !key.SameThroughWide(value.Name, &*text))
    return std::nullopt;
  return data;
}

void TChkRegErr::CheckValues(const std::wstring& path, const registry::Key& key) {
  // Names, types and texts come in one pass over the key, read through the handle that is open
  // anyway: a value deleted meanwhile is simply not there, as it would not be on a new opening.
  for (const registry::NamedValue& value : key.Values()) {
    if (Terminated()) return;
    if (NameIsBad(key, value.Name, winDir_, files_))
      AddRow({start_.rootKeyName, path, value.Name, L"", 0});
    // The unnamed value is the key's default. A name of blanks is a value of its own, and the
    // row names it as it is, so that a repair finds that value and not the default.
    if (const std::optional<std::wstring> data = TextIsBad(key, value, winDir_, files_))
      AddRow({start_.rootKeyName, path, value.Name.empty() ? kDefaultValueName : value.Name, *data,
              0});
  }
}
