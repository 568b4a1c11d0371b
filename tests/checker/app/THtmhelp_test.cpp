// The help viewer bound at run time: found through a class registration of the test's own, with
// the stand-in control (which records its calls) or the real one, and with broken registrations.
#include "checker/app/THtmhelp.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "checker/app/CommandIds.h"
#include "checker/app/TForm1.h"
#include "common/keyboard.h"
#include "common/text.h"
#include "fakes.h"
#include "support/controls.h"
#include "support/testing.h"

namespace {

using testing_support::BesideProgram;

constexpr wchar_t kTestClasses[] = L"Software\\ZephraTests\\HelpClasses";

// A private stand-in for HKEY_CLASSES_ROOT holding the control's registration, or none.
class Registration {
 public:
  Registration(const std::wstring* file, DWORD type = REG_SZ) {
    SHDeleteKeyW(HKEY_CURRENT_USER, kTestClasses);
    HKEY made = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kTestClasses, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &made,
                    nullptr);
    root_.Reset(made);
    if (!file) return;
    HKEY server = nullptr;
    RegCreateKeyExW(root_.Get(),
                    (std::wstring(THtmhelp::kControlClass) + L"\\InprocServer32").c_str(), 0,
                    nullptr, 0, KEY_ALL_ACCESS, nullptr, &server, nullptr);
    const common::RegKey key(server);
    RegSetValueExW(key.Get(), nullptr, 0, type, reinterpret_cast<const BYTE*>(file->c_str()),
                   static_cast<DWORD>((file->size() + 1) * sizeof(wchar_t)));
  }
  ~Registration() {
    root_.Reset();
    SHDeleteKeyW(HKEY_CURRENT_USER, kTestClasses);
  }
  HKEY Root() const { return root_.Get(); }

 private:
  common::RegKey root_;
};

std::wstring SystemFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  GetSystemDirectoryW(folder, MAX_PATH);
  return std::wstring(folder) + L"\\" + name;
}

std::string RecordedCalls(HMODULE fake) {
  using Reader = const char*(__cdecl*)();
  const auto read =
      reinterpret_cast<Reader>(reinterpret_cast<void*>(GetProcAddress(fake, "RecordedCalls")));
  return read ? read() : "no recorder";
}

TEST(THtmhelp, BindsTheRegisteredControlOnlyWhenItIsThereAndHasTheEntry) {
  const std::wstring fake = BesideProgram(L"zephra_fake_hhctrl.dll");
  const std::wstring missing = BesideProgram(L"no_such_hhctrl.ocx");
  const std::wstring withoutEntry = SystemFile(L"version.dll");
  const std::wstring expandable = L"%SystemRoot%\\system32\\hhctrl.ocx";
  const struct {
    const char* name;
    const std::wstring* file;
    DWORD type;
    bool bound;
  } cases[] = {
      {"registered stand-in", &fake, REG_SZ, true},
      {"registered real control, path with a variable", &expandable, REG_EXPAND_SZ, true},
      {"no registration", nullptr, REG_SZ, false},
      {"registration naming a missing file", &missing, REG_SZ, false},
      {"registered file without HtmlHelpA", &withoutEntry, REG_SZ, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Registration registration(c.file, c.type);
    EXPECT_EQ(THtmhelp::FindHHCtrl(registration.Root()).has_value(), c.file != &missing && c.file);
    THtmhelp viewer(L"C:\\Zephra\\Tarqcc.chm", registration.Root());
    EXPECT_EQ(viewer.Bound(), c.bound);
    if (!c.bound) viewer.ShowTopic(L"Topic_17.htm");  // nothing happens, nothing breaks
  }
}

TEST(THtmhelp, ShowsTheTopicWithoutOwnerAndClosesItsWindowsBeforeUnloading) {
  const std::wstring fake = BesideProgram(L"zephra_fake_hhctrl.dll");
  const HMODULE own = LoadLibraryW(fake.c_str());  // keeps the records readable at the end
  ASSERT_NE(own, nullptr);
  {
    const Registration registration(&fake);
    THtmhelp viewer(L"C:\\中文 目录\\Tarqcc.chm", registration.Root());
    ASSERT_TRUE(viewer.Bound());
    viewer.ShowTopic(L"Topic_17.htm");
  }
  EXPECT_EQ(RecordedCalls(own),
            "0|C:\\\xd6\xd0\xce\xc4 \xc4\xbf\xc2\xbc\\Tarqcc.chm|0|Topic_17.htm\n"  // GBK path
            "0||18|\n");                                                            // HH_CLOSE_ALL
  FreeLibrary(own);
  EXPECT_EQ(GetModuleHandleW(fake.c_str()), nullptr) << "the viewer kept the control loaded";
}

TEST(THtmhelp, TheRealControlOpensItsWindowForTheHelpFileAndClosesItAtTheEnd) {
  const std::wstring chm = BesideProgram(L"Tarqcc.chm");
  ASSERT_NE(GetFileAttributesW(chm.c_str()), INVALID_FILE_ATTRIBUTES) << "the build makes it";
  auto viewer = std::make_unique<THtmhelp>(chm);
  ASSERT_TRUE(viewer->Bound()) << "Wine registers hhctrl.ocx";
  viewer->ShowTopic(L"Topic_17.htm");
  HWND window = nullptr;
  EXPECT_TRUE(testing_support::WaitFor([&] {
    window = FindWindowW(L"HH Parent", nullptr);
    return window != nullptr;
  }));
  EXPECT_EQ(testing_support::WindowText(window), L"Sanivo 帮助");
  viewer.reset();
  EXPECT_TRUE(testing_support::WaitFor([&] { return !IsWindow(window); }));
}

// The main window with the stand-in control registered, and what its commands open.
class HelpCommands : public ::testing::Test {
 protected:
  HelpCommands() : fake_(BesideProgram(L"zephra_fake_hhctrl.dll")), registration_(&fake_) {
    own_ = LoadLibraryW(fake_.c_str());
    CheckerServices services = TestServices(folder_.Path());
    services.helpClasses = registration_.Root();
    services.openAddress = [this](HWND owner, const std::wstring& address) {
      opened_.emplace_back(owner, address);
    };
    form_ = ShownForm(std::move(services));
  }
  ~HelpCommands() override {
    form_.reset();
    FreeLibrary(own_);
  }
  void Command(int id) { SendMessageW(form_->Handle(), WM_COMMAND, id, 0); }

  testing_support::TempFolder folder_;
  std::wstring fake_;
  Registration registration_;
  HMODULE own_ = nullptr;
  std::vector<std::pair<HWND, std::wstring>> opened_;
  std::unique_ptr<TForm1> form_;
};

TEST_F(HelpCommands, F1AndTheMenuItemShowTheMainTopicOfTheHelpFileBesideTheProgram) {
  MSG f1 = {form_->Handle(), WM_KEYDOWN, VK_F1, 0x003B0001, 0, {}};
  EXPECT_TRUE(common::TranslateKeyboard(f1));
  Command(cmd::kHelp);
  const std::string topic =
      "0|" + common::ToAnsi(folder_.File(L"Tarqcc.chm")) + "|0|Topic_17.htm\n";
  EXPECT_EQ(RecordedCalls(own_), topic + topic);
  form_.reset();
  EXPECT_EQ(RecordedCalls(own_), topic + topic + "0||18|\n");
}

TEST_F(HelpCommands, ContactAndHomePageOpenTheMakersAddressesOwnedByTheWindow) {
  Command(cmd::kContact);
  Command(cmd::kHomePage);
  const std::vector<std::pair<HWND, std::wstring>> expected = {
      {form_->Handle(), L"mailto:support@lumorasoft.cn?subject=Sanivo"},
      {form_->Handle(), L"http://www.lumorasoft.cn/"}};
  EXPECT_EQ(opened_, expected);
}

TEST_F(HelpCommands, AboutShowsTheSystemsBoxWithVersionNoticeAndIcon) {
  const DWORD uiThread = GetCurrentThreadId();
  std::wstring texts;
  HWND owner = nullptr;
  HICON icon = nullptr;
  std::thread watcher([&] {
    for (int i = 0; i < 500; ++i) {
      HWND box = nullptr;
      for (HWND w : testing_support::ThreadWindows(uiThread)) {
        if (IsWindowVisible(w) && testing_support::ClassOf(w) == L"#32770") {
          box = w;
          break;
        }
      }
      if (box) {
        owner = GetWindow(box, GW_OWNER);
        texts =
            testing_support::WindowText(box) + L"\n" + testing_support::ChildTexts(box, L"Static");
        for (HWND c = GetWindow(box, GW_CHILD); c && !icon; c = GetWindow(c, GW_HWNDNEXT))
          icon = reinterpret_cast<HICON>(SendMessageW(c, STM_GETICON, 0, 0));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(10);
    }
  });
  Command(cmd::kAbout);  // returns when the box is closed
  watcher.join();
  EXPECT_NE(texts.find(L"Sanivo Version 3.4.5.408"), std::wstring::npos) << texts;
  EXPECT_NE(texts.find(L"Lumora软件出品  http://www.lumorasoft.cn/"), std::wstring::npos) << texts;
  EXPECT_EQ(owner, form_->Handle());
  EXPECT_NE(icon, nullptr);
}

}  // namespace
