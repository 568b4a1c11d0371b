#pragma once
// The program an uninstall command starts, cut out of the command as the uninstall scan judges
// it. Pure text work without the system, so that it can be tested and fuzzed on any machine.
#include <optional>
#include <string>
#include <string_view>

// The command in lower case, cut after its first ".exe", without double quotes and doubled
// backslashes ("c:\program files\app\unins000.exe" for "\"C:\\Program Files\\App\\unins000.exe\"
// /SILENT"). Nothing when the command is not judged at all: it runs through rundll, or names no
// ".exe".
std::optional<std::wstring> TrimUninstallCommand(std::wstring_view command);

// 'A' to 'Z' lowered, every other character as it is (the checker's texts are compared with
// ASCII letters only: lowering Chinese or other letters could change what a path names).
std::wstring AsciiLower(std::wstring_view text);
std::wstring AsciiUpper(std::wstring_view text);
