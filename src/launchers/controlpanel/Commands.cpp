#include "launchers/controlpanel/Commands.h"

namespace palomid {

namespace {

constexpr wchar_t kControl[] = L"rundll32.exe shell32.dll,Control_RunDLL";

std::wstring Applet(const wchar_t* arguments) { return std::wstring(kControl) + L" " + arguments; }

// The program of a command line: its first word, or the quoted text at its start.
std::wstring ProgramOf(const std::wstring& commandLine) {
  if (!commandLine.empty() && commandLine[0] == L'"')
    return commandLine.substr(1, commandLine.find(L'"', 1) - 1);
  return commandLine.substr(0, commandLine.find(L' '));
}

}  // namespace

const std::array<Command1Entry, kCommandCount>& Command1Table() {
  static const std::array<Command1Entry, kCommandCount> table = {{
      {L"Palomid", 180, 240, kControl, kMinimizedFocus},
      {L"辅助选项", 180, 960, Applet(L"access.cpl,,5"), kMinimizedFocus},
      {L"显示", 180, 1440, Applet(L"access.cpl,,3"), kMinimizedFocus},
      {L"键盘", 180, 1920, Applet(L"access.cpl,,1"), kMinimizedFocus},
      {L"鼠标", 180, 2400, Applet(L"access.cpl,,4"), kMinimizedFocus},
      {L"声音", 180, 2880, Applet(L"access.cpl,,2"), kMinimizedFocus},
      {L"背景", 1920, 960, Applet(L"desk.cpl,,0"), kMinimizedFocus},
      {L"外观", 1920, 1440, Applet(L"desk.cpl,,2"), kMinimizedFocus},
      {L"屏幕保护", 1920, 1920, Applet(L"desk.cpl,,1"), kMinimizedFocus},
      {L"设置", 1920, 2400, Applet(L"desk.cpl,,3"), kMinimizedFocus},
      {L"日期/时间", 3720, 2160, Applet(L"timedate.cpl"), kMinimizedFocus},
      {L"拨号连接", 3720, 960, std::wstring(kDialCommand) + kConnectionName, kNormalFocus},
      {L"IE设置", 3720, 1560, Applet(L"inetcpl.cpl"), kMinimizedFocus},
  }};
  return table;
}

const std::array<common::TwipsRect, 3>& ShapeTable() {
  static const std::array<common::TwipsRect, 3> shapes = {{
      {120, 120, 1455, 3255},
      {1800, 120, 1575, 3255},
      {3600, 120, 1575, 3255},
  }};
  return shapes;
}

PalomidServices PalomidServices::Real() {
  PalomidServices services;
  services.startCommand = [](const std::wstring& commandLine, int windowStyle) {
    return common::StartCommandLine(commandLine, windowStyle);
  };
  services.showError = [](HWND owner, const std::wstring& text, const std::wstring& caption) {
    MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
  };
  services.quit = [] { PostQuitMessage(0); };
  return services;
}

std::wstring StartFailureText(const std::wstring& commandLine, DWORD error) {
  // Some of the system's texts name the program as "%1" ("%1 is not a valid application").
  std::wstring reason = common::SystemErrorText(error);
  const std::wstring program = ProgramOf(commandLine);
  for (size_t at = reason.find(L"%1"); at != std::wstring::npos;
       at = reason.find(L"%1", at + program.size()))
    reason.replace(at, 2, program);
  return L"无法启动以下命令：\r\n" + commandLine + L"\r\n\r\n原因：" + reason;
}

bool Command1Click(int Index, HWND owner, const PalomidServices& services) {
  if (Index < 0 || Index >= kCommandCount) return false;
  const Command1Entry& entry = Command1Table()[static_cast<size_t>(Index)];
  const common::StartResult result = services.startCommand(entry.commandLine, entry.windowStyle);
  if (!result.started)
    services.showError(owner, StartFailureText(entry.commandLine, result.error), kErrorCaption);
  return result.started;
}

}  // namespace palomid
