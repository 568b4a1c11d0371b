#include "list_scan_fixture.h"

#include <algorithm>
#include <tuple>

#include "common/text.h"

ListScanTest::ListScanTest()
    : machineKey_(registry::Key::Open(machine_.Root(), machine_.Path())),
      userKey_(registry::Key::Open(user_.Root(), user_.Path())) {
  system_.Machine = machineKey_.Get();
  system_.User = userKey_.Get();
  // The machine's other registry view is the real one; a test that needs one gives its own.
  system_.OtherMachineViews.clear();
  host_.environment.MajorVersion = 6;
  host_.environment.WinDir = MakeFolder(L"Windows");
  host_.environment.GetSpecialFolder = [this](HWND, int csidl) {
    const auto found = special_.find(csidl);
    return found == special_.end() ? std::wstring() : found->second;
  };
}

ListScanTest::~ListScanTest() {
  for (auto it = variables_.rbegin(); it != variables_.rend(); ++it)
    SetEnvironmentVariableW(it->first.c_str(), it->second ? it->second->c_str() : nullptr);
}

void ListScanTest::DriveTypes(const std::map<std::wstring, unsigned>& types) {
  system_.Files.DriveType = [types, real = system_.Files.DriveType](const std::wstring& root) {
    const auto it = types.find(root);
    return it != types.end() ? it->second : real(root);
  };
}

void ListScanTest::SetVariable(const std::wstring& name, const std::wstring& value) {
  wchar_t before[32768] = {};
  const DWORD length = GetEnvironmentVariableW(name.c_str(), before, 32768);
  variables_.emplace_back(name, length > 0 ? std::optional<std::wstring>(before) : std::nullopt);
  SetEnvironmentVariableW(name.c_str(), value.c_str());
}

std::wstring ListScanTest::MakeFolder(const std::wstring& relative) const {
  std::wstring path = folder_.Path();
  size_t start = 0;
  while (start <= relative.size()) {
    const size_t end = std::min(relative.find(L'\\', start), relative.size());
    path += L"\\" + relative.substr(start, end - start);
    CreateDirectoryW(path.c_str(), nullptr);
    start = end + 1;
  }
  return path;
}

std::wstring ListScanTest::MakeFile(const std::wstring& relative) const {
  const size_t slash = relative.rfind(L'\\');
  if (slash != std::wstring::npos) MakeFolder(relative.substr(0, slash));
  const std::wstring path = folder_.File(relative);
  testing_support::WriteFileBytes(path, "x");
  return path;
}

void MakeUnspellableKey(const testing_support::TestKey& tree, const std::wstring& parent) {
  HKEY key = nullptr;
  const std::wstring path = tree.PathOf(parent) + L"\\\u0915";
  ASSERT_EQ(RegCreateKeyExW(tree.Root(), path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

ScanResultRow MachineRow(const std::wstring& location, const std::wstring& keyName,
                         const std::wstring& description, int image) {
  return {L"HKEY_LOCAL_MACHINE", location, keyName, description, image};
}

ScanResultRow UserRow(const std::wstring& location, const std::wstring& description) {
  return {L"HKEY_CURRENT_USER", location, L"", description};
}

Rows Sorted(Rows rows) {
  const auto key = [](const ScanResultRow& r) {
    return std::tie(r.Item, r.Location, r.KeyName, r.Description, r.ImageIndex);
  };
  std::sort(rows.begin(), rows.end(),
            [&](const ScanResultRow& a, const ScanResultRow& b) { return key(a) < key(b); });
  return rows;
}

void PrintTo(const ScanResultRow& row, std::ostream* out) {
  *out << common::ToAnsi(row.Item + L" | " + row.Location + L" | " + row.KeyName + L" | " +
                         row.Description)
       << " | " << row.ImageIndex;
}
