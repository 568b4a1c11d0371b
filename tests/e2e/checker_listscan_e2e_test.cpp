// Sanivo.exe started for real scans the registry list rows (0, 1 and 3 to 6) of the test prefix,
// into which the test has put one stale entry for each of those scans: every one of them shows in
// the result list, with its texts and picture.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/handles.h"
#include "e2e/process.h"
#include "support/controls.h"
#include "support/testing.h"

namespace {

using e2e::ProgramUnderTest;
using e2e::RemoteList;
using testing_support::TempFolder;
using testing_support::WaitFor;
using testing_support::WindowText;

constexpr int kScanButtonId = 100, kCheckListId = 200, kResultListId = 201, kStatusBarId = 203;

HWND Child(HWND form, int id) { return testing_support::ChildWithId(form, id); }

// Keys and values the test puts into the prefix's registry, removed again at its end.
class PreparedRegistry {
 public:
  ~PreparedRegistry() {
    for (const auto& [root, path] : keys_) SHDeleteKeyW(root, path.c_str());
    for (const auto& [root, path, name] : values_) SHDeleteValueW(root, path.c_str(), name.c_str());
  }
  void Key(HKEY root, const std::wstring& path) {
    HKEY made = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &made, nullptr),
        ERROR_SUCCESS);
    RegCloseKey(made);
    keys_.push_back({root, path});
  }
  void Value(const std::wstring& path, const std::wstring& name, DWORD type, const void* data,
             DWORD size) {
    ASSERT_EQ(SHSetValueW(HKEY_LOCAL_MACHINE, path.c_str(), name.c_str(), type, data, size),
              ERROR_SUCCESS);
    values_.push_back({HKEY_LOCAL_MACHINE, path, name});
  }
  void Text(const std::wstring& path, const std::wstring& name, const std::wstring& text) {
    Value(path, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2));
  }

 private:
  struct KeyPath {
    HKEY root;
    std::wstring path;
  };
  struct ValuePath {
    HKEY root;
    std::wstring path, name;
  };
  std::vector<KeyPath> keys_;
  std::vector<ValuePath> values_;
};

TEST(SanivoListScans, RowsZeroOneAndThreeToSixShowWhatTheyFindInTheList) {
  const std::wstring tag = L"ZephraE2E" + std::to_wstring(GetCurrentProcessId());
  const std::wstring version = L"Software\\Microsoft\\Windows\\CurrentVersion\\";
  const std::wstring verb = L"Software\\CLASSES\\Directory\\shell\\" + tag;
  const std::wstring order = version + L"Explorer\\MenuOrder\\Start Menu2\\Programs\\" + tag;
  const std::wstring uninstall = version + L"Uninstall\\" + tag;
  const std::wstring dll = L"C:\\" + tag + L"\\gone.dll";
  PreparedRegistry prepared;
  prepared.Key(HKEY_LOCAL_MACHINE, L"Software\\" + tag);
  prepared.Key(HKEY_CURRENT_USER, L"Software\\" + tag + L"User");
  prepared.Key(HKEY_LOCAL_MACHINE, verb);
  prepared.Key(HKEY_CURRENT_USER, order);
  prepared.Key(HKEY_LOCAL_MACHINE, uninstall);
  prepared.Text(L"Software\\Microsoft\\Windows\\Help", tag + L".hlp", L"C:\\" + tag);
  const DWORD zero = 0;
  prepared.Value(version + L"Shareddlls", dll, REG_DWORD, &zero, sizeof(zero));
  prepared.Text(version + L"Fonts", tag, tag + L".ttf");

  TempFolder folder;
  ProgramUnderTest sanivo(folder.Path(), L"Sanivo.exe");
  ASSERT_TRUE(sanivo.Start());
  const HWND form = sanivo.WaitForWindow(L"TForm1", 10000);
  ASSERT_NE(form, nullptr);
  const RemoteList checks(Child(form, kCheckListId));
  ASSERT_EQ(checks.Count(), 12);
  for (int row = 0; row < 12; ++row) checks.SetChecked(row, row <= 6 && row != 2);

  SendMessageW(Child(form, kScanButtonId), BM_CLICK, 0, 0);
  const HWND status = Child(form, kStatusBarId);
  ASSERT_TRUE(WaitFor([&] { return WindowText(status).rfind(L"扫描完毕", 0) == 0; }, 60000))
      << "the scan did not end";

  const RemoteList results(Child(form, kResultListId));
  std::vector<std::wstring> rows;
  for (int row = 0; row < results.Count(); ++row) rows.push_back(results.Row(row));
  EXPECT_EQ(WindowText(status),
            L"扫描完毕。共检查到：" + std::to_wstring(rows.size()) + L" 个错误。");
  const std::wstring expected[] = {
      L"HKEY_LOCAL_MACHINE|Software\\" + tag + L"||无效软件|0",
      L"HKEY_CURRENT_USER|Software\\" + tag + L"User||无效软件|0",
      L"HKEY_LOCAL_MACHINE|" + verb + L"||" + tag + L"|0",
      L"HKEY_CURRENT_USER|" + order + L"||" + tag + L"|0",
      L"HKEY_LOCAL_MACHINE|Software\\Microsoft\\Windows\\Help|" + tag + L".hlp|无效帮助C:\\" + tag +
          L"\\|0",
      L"HKEY_LOCAL_MACHINE|" + version + L"Shareddlls|" + dll + L"||6",
      L"HKEY_LOCAL_MACHINE|" + uninstall + L"||无效的反安装信息|0",
      L"HKEY_LOCAL_MACHINE|" + version + L"Fonts|" + tag + L"|无效字体" + tag + L".ttf|0",
  };
  // In the order of the rows that found them.
  std::vector<size_t> found;
  for (const std::wstring& row : expected) {
    const auto at = std::find(rows.begin(), rows.end(), row);
    EXPECT_NE(at, rows.end()) << "missing: " << testing::PrintToString(row);
    found.push_back(static_cast<size_t>(at - rows.begin()));
  }
  EXPECT_TRUE(std::is_sorted(found.begin(), found.end()));

  PostMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_TRUE(sanivo.WaitForExit(10000));
}

}  // namespace
