#include "launchers/controlpanel/Commands.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Started {
  std::wstring commandLine;
  int windowStyle;
};

struct Shown {
  HWND owner;
  std::wstring text;
  std::wstring caption;
};

// Records what would be started and shown; `fail` makes every start fail with that error.
struct Recorder {
  std::vector<Started> started;
  std::vector<Shown> shown;
  DWORD fail = 0;

  palomid::PalomidServices Services() {
    palomid::PalomidServices s;
    s.startCommand = [this](const std::wstring& commandLine, int windowStyle) {
      started.push_back({commandLine, windowStyle});
      common::StartResult result;
      result.started = fail == 0;
      result.error = fail;
      return result;
    };
    s.showError = [this](HWND owner, const std::wstring& text, const std::wstring& caption) {
      shown.push_back({owner, text, caption});
    };
    s.quit = [] {};
    return s;
  }
};

// The thirteen command lines, written out as the buttons must start them.
const Started kExpected[13] = {
    {L"rundll32.exe shell32.dll,Control_RunDLL", 2},
    {L"rundll32.exe shell32.dll,Control_RunDLL access.cpl,,5", 2},
    {L"rundll32.exe shell32.dll,Control_RunDLL access.cpl,,3", 2},
    {L"rundll32.exe shell32.dll,Control_RunDLL access.cpl,,1", 2},
    {L"rundll32.exe shell32.dll,Control_RunDLL access.cpl,,4", 2},
    {L"rundll32.exe shell32.dll,Control_RunDLL access.cpl,,2", 2},
    {L"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,0", 2},
    {L"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,2", 2},
    {L"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1", 2},
    {L"rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,3", 2},
    {L"rundll32.exe shell32.dll,Control_RunDLL timedate.cpl", 2},
    {L"rundll32.exe rnaui.dll,RnaDial 连接_名称", 1},
    {L"rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl", 2},
};

TEST(Command1Click, EachButtonStartsItsExactCommandLineWithItsWindowStyle) {
  Recorder recorder;
  const auto services = recorder.Services();
  for (int i = 0; i < 13; ++i) EXPECT_TRUE(palomid::Command1Click(i, nullptr, services));
  ASSERT_EQ(recorder.started.size(), 13u);
  for (int i = 0; i < 13; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(recorder.started[i].commandLine, kExpected[i].commandLine);
    EXPECT_EQ(recorder.started[i].windowStyle, kExpected[i].windowStyle);
  }
  EXPECT_TRUE(recorder.shown.empty());
}

TEST(Command1Click, DialUpJoinsCommandAndConnectionNameWithExactlyOneSpace) {
  Recorder recorder;
  palomid::Command1Click(11, nullptr, recorder.Services());
  ASSERT_EQ(recorder.started.size(), 1u);
  const std::wstring& line = recorder.started[0].commandLine;
  EXPECT_EQ(line, std::wstring(L"rundll32.exe rnaui.dll,RnaDial ") + L"连接_名称");
  EXPECT_EQ(line.find(L"  "), std::wstring::npos);
  EXPECT_EQ(recorder.started[0].windowStyle, SW_SHOWNORMAL);
}

TEST(Command1Click, TwoClicksStartTwoProcesses) {
  Recorder recorder;
  const auto services = recorder.Services();
  palomid::Command1Click(6, nullptr, services);
  palomid::Command1Click(6, nullptr, services);
  ASSERT_EQ(recorder.started.size(), 2u);
  EXPECT_EQ(recorder.started[0].commandLine, recorder.started[1].commandLine);
}

TEST(Command1Click, AnyOtherIndexDoesNothing) {
  Recorder recorder;
  const auto services = recorder.Services();
  for (int i : {-1, 13, 14, 100, -32768})
    EXPECT_FALSE(palomid::Command1Click(i, nullptr, services));
  EXPECT_TRUE(recorder.started.empty());
  EXPECT_TRUE(recorder.shown.empty());
}

TEST(Command1Click, ACommandThatCannotStartIsReportedAndTheClickReturns) {
  Recorder recorder;
  recorder.fail = ERROR_FILE_NOT_FOUND;
  HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x4321));
  EXPECT_FALSE(palomid::Command1Click(11, owner, recorder.Services()));
  ASSERT_EQ(recorder.shown.size(), 1u);
  EXPECT_EQ(recorder.shown[0].owner, owner);
  EXPECT_EQ(recorder.shown[0].caption, L"Palomid");
  const std::wstring& text = recorder.shown[0].text;
  EXPECT_NE(text.find(L"无法启动"), std::wstring::npos);
  EXPECT_NE(text.find(L"rundll32.exe rnaui.dll,RnaDial 连接_名称"), std::wstring::npos);
  EXPECT_NE(text.find(common::SystemErrorText(ERROR_FILE_NOT_FOUND)), std::wstring::npos);
}

TEST(StartFailureText, NamesTheCommandAndTheSystemsReason) {
  EXPECT_EQ(
      palomid::StartFailureText(L"rundll32.exe shell32.dll,Control_RunDLL", ERROR_FILE_NOT_FOUND),
      L"无法启动以下命令：\r\nrundll32.exe shell32.dll,Control_RunDLL\r\n\r\n原因：" +
          common::SystemErrorText(ERROR_FILE_NOT_FOUND));
  // The system's text for a file that is no program names it as "%1": the program goes there.
  ASSERT_NE(common::SystemErrorText(ERROR_BAD_EXE_FORMAT).find(L"%1"), std::wstring::npos);
  const std::wstring text =
      palomid::StartFailureText(L"rundll32.exe rnaui.dll,RnaDial 连接_名称", ERROR_BAD_EXE_FORMAT);
  const std::wstring reason = text.substr(text.find(L"原因："));
  EXPECT_EQ(reason.find(L"%1"), std::wstring::npos) << reason;
  EXPECT_NE(reason.find(L"rundll32.exe"), std::wstring::npos) << reason;
  EXPECT_EQ(reason.find(L"rnaui.dll"), std::wstring::npos) << reason;
}

}  // namespace
