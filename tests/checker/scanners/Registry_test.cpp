#include "checker/scanners/Registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "common/wow64.h"
#include "support/registry.h"

using registry::Key;
using testing_support::TestKey;

TEST(RegistryRoots, NamesAndHandlesMatchBothWays) {
  for (const auto& [root, name] :
       {std::pair{HKEY_CLASSES_ROOT, L"HKEY_CLASSES_ROOT"},
        std::pair{HKEY_CURRENT_USER, L"HKEY_CURRENT_USER"},
        std::pair{HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE"}, std::pair{HKEY_USERS, L"HKEY_USERS"},
        std::pair{HKEY_CURRENT_CONFIG, L"HKEY_CURRENT_CONFIG"}}) {
    EXPECT_EQ(registry::RootName(root), name);
    EXPECT_EQ(registry::RootByName(name), root);
  }
  EXPECT_EQ(registry::RootByName(L"hkey_current_user"), nullptr);
  EXPECT_EQ(registry::RootByName(L""), nullptr);
  EXPECT_EQ(registry::RootName(HKEY_PERFORMANCE_DATA), L"");
}

// Where a key is stored, under the root names of the rows: the system's own names are matched as
// the registry compares them, and only on whole name components.
TEST(RegistryStoredName, SystemNamesMapToTheRootThatHoldsTheKey) {
  const std::wstring user = L"\\REGISTRY\\USER\\S-1-5-21-1-2-3-1000";
  const struct {
    std::wstring systemName;
    std::optional<std::wstring> stored;
  } cases[] = {
      {L"\\REGISTRY\\MACHINE\\SOFTWARE\\Wow6432Node\\App",
       L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\App"},
      {L"\\Registry\\Machine\\Software\\Classes\\.txt",  // Wine's spelling
       L"HKEY_LOCAL_MACHINE\\Software\\Classes\\.txt"},
      {L"\\REGISTRY\\MACHINE", L"HKEY_LOCAL_MACHINE"},
      {user + L"\\Software\\App", L"HKEY_CURRENT_USER\\Software\\App"},
      {user + L"_Classes\\CLSID\\{X}", L"HKEY_CURRENT_USER\\Software\\Classes\\CLSID\\{X}"},
      {L"\\REGISTRY\\USER\\S-1-5-21-1-2-3-1001\\Software", L"HKEY_USERS\\S-1-5-21-1-2-3-1001\\Software"},
      {L"\\REGISTRY\\USER\\S-1-5-21-1-2-3-10001\\Software", L"HKEY_USERS\\S-1-5-21-1-2-3-10001\\Software"},
      {L"\\REGISTRY\\MACHINEX\\Software", std::nullopt},
      {L"\\Device\\Other", std::nullopt},
      {L"", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(registry::StoredNameOf(c.systemName, user), c.stored) << std::string(
        c.systemName.begin(), c.systemName.end());
  // Without the current user's name, its keys are named below HKEY_USERS.
  EXPECT_EQ(registry::StoredNameOf(user + L"\\Software", L""),
            L"HKEY_USERS\\S-1-5-21-1-2-3-1000\\Software");
}

// The system tells where an open key is: a key made in the 32-bit view of a 64-bit Windows is
// named with Wow6432Node, one in the 64-bit view (or on 32-bit Windows) without.
TEST(RegistryStoredName, NamesTheViewAKeyWasOpenedIn) {
  const TestKey tree;
  EXPECT_EQ(registry::StoredName(Key::Open(HKEY_CURRENT_USER, tree.Path()).Get()),
            L"HKEY_CURRENT_USER\\" + tree.Path());
  const bool twoViews = common::IsWow64() || sizeof(void*) == 8;
  for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
    const Key software = Key::Open(HKEY_LOCAL_MACHINE, L"Software", KEY_ALL_ACCESS | view);
    ASSERT_TRUE(software);
    const TestKey inView(software.Get(), L"ZephraTests", L"View");
    const std::wstring name =
        registry::StoredName(Key::Open(software.Get(), inView.Path()).Get()).value_or(L"");
    const std::wstring expected = std::wstring(L"HKEY_LOCAL_MACHINE\\Software\\") +
                                  (twoViews && view == KEY_WOW64_32KEY ? L"Wow6432Node\\" : L"") +
                                  inView.Path();
    EXPECT_EQ(_wcsicmp(name.c_str(), expected.c_str()), 0) << std::string(name.begin(), name.end());
  }
}

TEST(RegistryKey, OpeningAMissingKeyCreatesNothingAndReadsAsEmpty) {
  TestKey tree;
  const Key missing = Key::Open(tree.Root(), tree.PathOf(L"Gone"));
  EXPECT_FALSE(missing);
  EXPECT_FALSE(tree.KeyExists(L"Gone"));
  EXPECT_TRUE(missing.SubkeyNames().empty());
  EXPECT_TRUE(missing.ValueNames().empty());
  EXPECT_EQ(missing.DefaultText(), L"");
  EXPECT_FALSE(missing.ReadText(L"x"));
}

TEST(RegistryKey, NamesComeInEnumerationOrderIncludingLongAndChineseOnes) {
  TestKey tree;
  const std::wstring longName(300, L'v');
  tree.MakeKey(L"子键");
  tree.MakeKey(L"Second");
  tree.SetText(L"", L"值", L"x");
  tree.SetText(L"", longName, L"y");
  const Key key = Key::Open(tree.Root(), tree.Path());
  ASSERT_TRUE(key);
  auto subkeys = key.SubkeyNames();
  std::sort(subkeys.begin(), subkeys.end());
  EXPECT_EQ(subkeys, (std::vector<std::wstring>{L"Second", L"子键"}));
  auto values = key.ValueNames();
  std::sort(values.begin(), values.end());
  EXPECT_EQ(values, (std::vector<std::wstring>{longName, L"值"}));
  EXPECT_EQ(key.SubkeyCount(), 2);
  EXPECT_EQ(key.ValueCount(), 2);
  EXPECT_TRUE(key.HasSubkey(L"second"));
  EXPECT_FALSE(key.HasSubkey(L"Third"));
}

TEST(RegistryKey, TextsAreReadSafelyWhateverTheStoredBytes) {
  TestKey tree;
  struct Case {
    const wchar_t* name;
    DWORD type;
    std::string bytes;
    std::optional<std::wstring> text;
  } cases[] = {
      {L"plain", REG_SZ, std::string("C:\\a.exe\0", 9), L"C:\\a.exe"},
      {L"unterminated", REG_SZ, "C:\\b.exe", L"C:\\b.exe"},
      {L"after zero", REG_SZ, std::string("C:\\c\0junk", 9), L"C:\\c"},
      {L"expand", REG_EXPAND_SZ, std::string("%WinDir%\\x\0", 11), L"%WinDir%\\x"},
      {L"empty", REG_SZ, "", L""},
      {L"binary", REG_BINARY, "abc", std::nullopt},
      {L"gbk", REG_SZ, "\xD6\xD0\xCE\xC4", L"中文"},
  };
  for (const Case& c : cases) tree.SetRaw(L"", c.name, c.type, c.bytes);
  // Larger than the first buffers of a pass over all values.
  const std::wstring longName(300, L'v');
  tree.SetRaw(L"", longName, REG_SZ, std::string(10000, 'x'));
  const Key key = Key::Open(tree.Root(), tree.Path());
  for (const Case& c : cases) EXPECT_EQ(key.ReadText(c.name), c.text) << c.name;
  EXPECT_EQ(key.ValueType(L"expand"), REG_EXPAND_SZ);
  EXPECT_FALSE(key.ValueType(L"missing"));

  // One pass over all values gives the same texts.
  std::map<std::wstring, std::optional<std::wstring>> passed;
  for (const registry::NamedValue& value : key.Values())
    passed[value.Name] = registry::TextOf(value.Type, value.Data);
  ASSERT_EQ(passed.size(), std::size(cases) + 1);
  for (const Case& c : cases) EXPECT_EQ(passed[c.name], c.text) << c.name;
  EXPECT_EQ(passed[longName], std::wstring(10000, L'x'));
}

TEST(RegistryKey, DefaultAndNumbers) {
  TestKey tree;
  tree.SetText(L"k", L"", L"默认");
  tree.SetDword(L"k", L"n", 7);
  tree.SetRaw(L"k", L"short", REG_DWORD, "ab");
  const Key key = Key::Open(tree.Root(), tree.PathOf(L"k"));
  EXPECT_EQ(key.DefaultText(), L"默认");
  EXPECT_EQ(key.ReadDword(L"n"), 7u);
  EXPECT_FALSE(key.ReadDword(L"short"));
  EXPECT_FALSE(key.ReadDword(L""));
  EXPECT_TRUE(key.HasValue(L""));
}
