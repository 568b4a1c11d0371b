// Prindle and Palomid started for real, driven with real clicks and keystrokes. What they start
// is observed through a stand-in program of the tests (zephra_recorder.exe) that writes down its
// command line and window style: as the print application of a file type registered for the
// test, and as "rundll32.exe" beside Palomid (a program's own folder is searched first).
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h:
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/handles.h"
#include "common/version.h"
#include "e2e/process.h"
#include "support/controls.h"
#include "support/testing.h"

namespace {

using e2e::ProgramUnderTest;
using testing_support::PumpFor;
using testing_support::TempFolder;
using testing_support::WaitFor;
using testing_support::WindowText;

struct Record {
  int show;
  std::wstring commandLine;
  bool operator<(const Record& o) const {
    return std::tie(show, commandLine) < std::tie(o.show, o.commandLine);
  }
  bool operator==(const Record& o) const = default;
};

// The lines a stand-in wrote to its log.
std::vector<Record> ReadRecords(const std::wstring& logPath) {
  const std::string bytes = testing_support::ReadFileBytes(logPath);
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
  std::vector<Record> records;
  size_t start = 0;
  for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
    const std::wstring line = text.substr(start, end - start);
    const size_t tab = line.find(L'\t');
    if (tab == std::wstring::npos) continue;
    records.push_back({std::stoi(line.substr(0, tab)), line.substr(tab + 1)});
  }
  return records;
}

std::vector<std::wstring> SplitArguments(const std::wstring& commandLine) {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(commandLine.c_str(), &count);
  std::vector<std::wstring> result(args, args + (args ? count : 0));
  LocalFree(args);
  return result;
}

bool CopyStandIn(const std::wstring& target) {
  return CopyFileW(testing_support::BesideProgram(L"zephra_recorder.exe").c_str(), target.c_str(),
                   FALSE) != FALSE;
}

POINT CentreOnScreen(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A real click at the control's centre. The pointer is moved there first and the press waits
// until the system has it there: a press sent right after a move may otherwise land where the
// pointer was before.
void Click(HWND control) {
  const POINT p = CentreOnScreen(control);
  e2e::ClickAt(p.x, p.y);
  PumpFor(100);
}

// Real keystrokes, one character at a time, into the window that has the focus.
// Types `text` into the focused `edit` and waits until the edit holds it: under load the program
// may take longer than any fixed pause to take in every key.
void TypeText(HWND edit, const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wScan = input[1].ki.wScan = c;
    input[0].ki.dwFlags = KEYEVENTF_UNICODE;
    input[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
  }
  WaitFor([&] { return WindowText(edit) == text; }, 10000);
}

HWND ChildWithText(HWND parent, const wchar_t* className, const wchar_t* text) {
  return FindWindowExW(parent, nullptr, className, text);
}

RECT ClientPlace(HWND control) { return testing_support::PlaceInParent(control); }

void ExpectPlace(HWND control, int left, int top, int width, int height) {
  ASSERT_NE(control, nullptr);
  const RECT r = ClientPlace(control);
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right - r.left, width);
  EXPECT_EQ(r.bottom - r.top, height);
}

HWND FocusOf(const ProgramUnderTest& program) {
  GUITHREADINFO gui = {};
  gui.cbSize = sizeof(gui);
  return GetGUIThreadInfo(program.ThreadId(), &gui) ? gui.hwndFocus : nullptr;
}

// A file type registered while the test runs: its "print" verb runs the stand-in with the
// document's path. Registered in HKEY_CLASSES_ROOT itself, because Wine 8 does not show the
// user's own classes (HKCU\Software\Classes) there.
class PrintableFileType {
 public:
  PrintableFileType(const std::wstring& extension, const std::wstring& printCommand)
      : extension_(extension) {
    Set(extension, kProgId);
    Set(std::wstring(kProgId) + L"\\shell\\print\\command", printCommand);
  }
  ~PrintableFileType() {
    SHDeleteKeyW(HKEY_CLASSES_ROOT, extension_.c_str());
    SHDeleteKeyW(HKEY_CLASSES_ROOT, kProgId);
  }
  PrintableFileType(const PrintableFileType&) = delete;
  PrintableFileType& operator=(const PrintableFileType&) = delete;

 private:
  static constexpr wchar_t kProgId[] = L"ZephraTest.PrintDocument";

  static void Set(const std::wstring& path, const std::wstring& value) {
    HKEY raw = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              &raw, nullptr),
              ERROR_SUCCESS);
    common::RegKey key(raw);
    RegSetValueExW(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }

  std::wstring extension_;
};

// A pixel of Prindle's background picture, read from the program file's own resources.
class PictureOf {
 public:
  explicit PictureOf(const std::wstring& exePath)
      : module_(LoadLibraryExW(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)),
        dc_(CreateCompatibleDC(nullptr)) {
    if (module_)
      bitmap_.Reset(static_cast<HBITMAP>(
          LoadImageW(module_, MAKEINTRESOURCEW(101), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (bitmap_) old_ = SelectObject(dc_.Get(), bitmap_.Get());
  }
  ~PictureOf() {
    if (old_) SelectObject(dc_.Get(), old_);
    if (module_) FreeLibrary(module_);
  }
  bool Loaded() const { return static_cast<bool>(bitmap_); }
  COLORREF At(int x, int y) const { return GetPixel(dc_.Get(), x, y); }

 private:
  HMODULE module_;
  common::MemoryDc dc_;
  common::Bitmap bitmap_;
  HGDIOBJ old_ = nullptr;
};

COLORREF ClientPixel(HWND window, int x, int y) {
  POINT p = {x, y};
  ClientToScreen(window, &p);
  return e2e::ScreenPixel(p.x, p.y);
}

class PrindleEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    standIn_ = folder_.File(L"printstandin.exe");
    ASSERT_TRUE(CopyStandIn(standIn_));
    CreateDirectoryW(folder_.File(L"my docs").c_str(), nullptr);
    document_ = folder_.File(L"my docs\\年度 报告 2024.zephraprint");
    testing_support::WriteFileBytes(document_, "quarterly figures\r\n");
    fileType_ =
        std::make_unique<PrintableFileType>(L".zephraprint", L"\"" + standIn_ + L"\" \"%1\"");
    ASSERT_TRUE(prindle_.Start());
    form_ = prindle_.WaitForWindow(L"PrindleForm1", 10000);
    ASSERT_NE(form_, nullptr);
    text1_ = FindWindowExW(form_, nullptr, L"Edit", nullptr);
    command1_ = ChildWithText(form_, L"Button", L"开始打印");
    command2_ = ChildWithText(form_, L"Button", L"关闭");
    ASSERT_TRUE(text1_ && command1_ && command2_);
    PumpFor(200);
  }

  std::wstring Log() const { return folder_.File(L"printstandin.log"); }

  TempFolder folder_;
  std::wstring standIn_;
  std::wstring document_;
  std::unique_ptr<PrintableFileType> fileType_;
  ProgramUnderTest prindle_{folder_.Path(), L"Prindle.exe"};
  HWND form_ = nullptr;
  HWND text1_ = nullptr;
  HWND command1_ = nullptr;
  HWND command2_ = nullptr;
};

TEST_F(PrindleEndToEnd, ShowsItsWindowAsDesigned) {
  EXPECT_EQ(WindowText(form_), L"打印调用 - LumoraShell");
  RECT client;
  GetClientRect(form_, &client);
  EXPECT_EQ(client.right, 347);
  EXPECT_EQ(client.bottom, 147);
  HWND label2 = FindWindowExW(form_, nullptr, L"Static", nullptr);
  ExpectPlace(label2, 68, 28, 269, 13);
  EXPECT_EQ(WindowText(label2), L"请键入文档绝对路径，单击打印后将为您打印它。");
  ExpectPlace(text1_, 68, 60, 269, 21);
  ExpectPlace(command1_, 180, 116, 77, 21);
  ExpectPlace(command2_, 260, 116, 77, 21);
  EXPECT_EQ(FocusOf(prindle_), text1_);
  const std::vector<HWND> order = {text1_, command1_, command2_};
  EXPECT_EQ(testing_support::TabOrder(form_, text1_), order);

  // The picture shows where no control stands, and through the label's background; the icon
  // stands over it at 8, 12.
  PictureOf picture(prindle_.ExePath());
  ASSERT_TRUE(picture.Loaded());
  for (POINT p : {POINT{340, 142}, POINT{30, 100}, POINT{200, 5}, POINT{335, 38}})
    EXPECT_EQ(ClientPixel(form_, p.x, p.y), picture.At(p.x, p.y)) << p.x << "," << p.y;
  EXPECT_NE(ClientPixel(form_, 8 + 24, 12 + 34), picture.At(8 + 24, 12 + 34));

  EXPECT_EQ(common::ReadVersionString(prindle_.ExePath(), L"ProductName"), L"Prindle");
}

TEST_F(PrindleEndToEnd, PrintsTheTypedDocumentThroughItsPrintVerb) {
  Click(text1_);
  TypeText(text1_, document_);
  ASSERT_EQ(WindowText(text1_), document_);

  Click(command1_);
  ASSERT_TRUE(WaitFor([&] { return ReadRecords(Log()).size() == 1; }, 10000));
  std::vector<Record> records = ReadRecords(Log());
  EXPECT_EQ(records[0].show, SW_SHOWMINNOACTIVE);
  const std::vector<std::wstring> args = SplitArguments(records[0].commandLine);
  ASSERT_EQ(args.size(), 2u) << records[0].commandLine;
  EXPECT_EQ(lstrcmpiW(args[0].c_str(), standIn_.c_str()), 0);
  EXPECT_EQ(args[1], document_);

  // The window stays, with the path, for the next print; printing again prints again.
  EXPECT_TRUE(prindle_.Running());
  EXPECT_EQ(WindowText(text1_), document_);
  Click(command1_);
  ASSERT_TRUE(WaitFor([&] { return ReadRecords(Log()).size() == 2; }, 10000));
  EXPECT_EQ(ReadRecords(Log())[1], records[0]);

  Click(command2_);
  ASSERT_TRUE(prindle_.WaitForExit(10000));
  EXPECT_EQ(prindle_.ExitCode(), 0u);
}

TEST_F(PrindleEndToEnd, EmptyOrMissingPathShowsNothing) {
  const std::vector<HWND> alone = {form_};
  Click(command1_);
  PumpFor(700);
  EXPECT_EQ(testing_support::VisibleWindowsOf(prindle_.ProcessId()), alone);

  Click(text1_);
  TypeText(text1_, folder_.File(L"no such file.zephraprint"));
  Click(command1_);
  PumpFor(700);
  EXPECT_EQ(testing_support::VisibleWindowsOf(prindle_.ProcessId()), alone);
  EXPECT_TRUE(prindle_.Running());
  EXPECT_TRUE(ReadRecords(Log()).empty());
}

class PalomidEndToEnd : public ::testing::Test {
 protected:
  void StartPalomid() {
    ASSERT_TRUE(palomid_.Start());
    form_ = palomid_.WaitForWindow(L"PalomidForm1", 10000);
    ASSERT_NE(form_, nullptr);
    for (HWND b = FindWindowExW(form_, nullptr, L"Button", nullptr); b;
         b = FindWindowExW(form_, b, L"Button", nullptr))
      buttons_.push_back(b);
    ASSERT_EQ(buttons_.size(), 13u);
    PumpFor(200);
  }

  std::wstring RunDll() const { return folder_.File(L"rundll32.exe"); }

  TempFolder folder_;
  ProgramUnderTest palomid_{folder_.Path(), L"Palomid.exe"};
  HWND form_ = nullptr;
  std::vector<HWND> buttons_;  // by index
};

TEST_F(PalomidEndToEnd, ShowsItsWindowAsDesigned) {
  StartPalomid();
  EXPECT_EQ(WindowText(form_), L"Palomid - LumoraShell");
  RECT client;
  GetClientRect(form_, &client);
  EXPECT_EQ(client.right, 355);
  EXPECT_EQ(client.bottom, 234);
  const wchar_t* captions[13] = {L"Palomid",   L"辅助选项", L"显示",  L"键盘",     L"鼠标",
                                 L"声音",      L"背景",     L"外观",  L"屏幕保护", L"设置",
                                 L"日期/时间", L"拨号连接", L"IE设置"};
  for (int i = 0; i < 13; ++i) EXPECT_EQ(WindowText(buttons_[i]), captions[i]) << i;
  // Places are checked in the window tests; here the corners of the three columns.
  ExpectPlace(buttons_[0], 12, 16, 89, 27);
  ExpectPlace(buttons_[6], 128, 64, 89, 27);
  ExpectPlace(buttons_[11], 248, 64, 89, 27);
  EXPECT_EQ(FocusOf(palomid_), buttons_[0]);
  EXPECT_EQ(testing_support::TabOrder(form_, buttons_[0]), buttons_);
  // The frames are black lines around the columns.
  EXPECT_EQ(ClientPixel(form_, 8, 100), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(ClientPixel(form_, 224, 100), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(ClientPixel(form_, 300, 224), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(ClientPixel(form_, 300, 226), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(common::ReadVersionString(palomid_.ExePath(), L"ProductName"), L"Palomid");
}

TEST_F(PalomidEndToEnd, ClicksStartTheirCommandsWithoutWaiting) {
  ASSERT_TRUE(CopyStandIn(RunDll()));
  // The stand-ins stay running until the hold file goes.
  const std::wstring hold = folder_.File(L"rundll32.hold");
  testing_support::WriteFileBytes(hold, "");
  StartPalomid();

  Click(buttons_[11]);
  Click(buttons_[6]);
  Click(buttons_[6]);
  const std::wstring log = folder_.File(L"rundll32.log");
  ASSERT_TRUE(WaitFor([&] { return ReadRecords(log).size() == 3; }, 10000));
  // Three processes run side by side, and Palomid still answers.
  DWORD_PTR ignored = 0;
  EXPECT_NE(SendMessageTimeoutW(form_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored), 0);
  DeleteFileW(hold.c_str());

  std::vector<Record> records = ReadRecords(log);
  std::sort(records.begin(), records.end());
  const std::vector<Record> expected = {
      {SW_SHOWNORMAL, L"rundll32.exe rnaui.dll,RnaDial 连接_名称"},
      {SW_SHOWMINIMIZED, L"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,0"},
      {SW_SHOWMINIMIZED, L"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,0"},
  };
  std::vector<Record> sortedExpected = expected;
  std::sort(sortedExpected.begin(), sortedExpected.end());
  EXPECT_EQ(records, sortedExpected);
  EXPECT_TRUE(palomid_.Running());
}

TEST_F(PalomidEndToEnd, ACommandThatCannotStartIsReportedAndPalomidGoesOn) {
  // A "rundll32.exe" beside the program that is no program at all.
  testing_support::WriteFileBytes(RunDll(), "this is not a program\r\n");
  StartPalomid();

  Click(buttons_[3]);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        for (HWND w : testing_support::VisibleWindowsOf(palomid_.ProcessId()))
          if (testing_support::ClassOf(w) == L"#32770") box = w;
        return box != nullptr;
      },
      10000));
  EXPECT_EQ(WindowText(box), L"Palomid");
  const std::wstring text = testing_support::ChildTexts(box, L"Static");
  EXPECT_NE(text.find(L"无法启动"), std::wstring::npos) << text;
  EXPECT_NE(text.find(L"rundll32.exe shell32.dll,Control_RunDLL access.cpl,,1"), std::wstring::npos)
      << text;
  EXPECT_NE(text.find(L"原因："), std::wstring::npos) << text;
  EXPECT_EQ(text.find(L"%1"), std::wstring::npos) << text;
  EXPECT_EQ(GetWindow(box, GW_OWNER), form_);

  // Closed, the message leaves Palomid running and ready for the next click.
  SendMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000));
  EXPECT_TRUE(palomid_.Running());
  EXPECT_TRUE(IsWindowEnabled(form_));
  ASSERT_TRUE(CopyStandIn(RunDll()));
  Click(buttons_[12]);
  const std::wstring log = folder_.File(L"rundll32.log");
  ASSERT_TRUE(WaitFor([&] { return ReadRecords(log).size() == 1; }, 10000));
  EXPECT_EQ(ReadRecords(log)[0].commandLine,
            L"rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl");

  SendMessageW(form_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(palomid_.WaitForExit(10000));
  EXPECT_EQ(palomid_.ExitCode(), 0u);
}

}  // namespace
