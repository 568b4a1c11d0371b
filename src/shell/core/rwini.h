#pragma once
// The shell's configuration store: every caption and link of the shell comes from SysInfo.ini
// beside the program, section "Zephra". Nothing is cached: every read goes to the file, so a link
// edited while the shell runs is seen at its next click.
#include <string>

namespace rwini {

inline constexpr wchar_t kSection[] = L"Zephra";

// The file the shell reads; windows hold one and tests point it elsewhere.
struct IniFile {
  std::wstring path;

  // Reads through a 144-byte buffer, so a value comes back cut to 143 bytes. A missing or empty
  // value returns `defaultValue` and writes it back, so the file lists every key once read.
  std::wstring ReadIni(const std::wstring& section, const std::wstring& key,
                       const std::wstring& defaultValue) const;
};

// Program folder + "\SysInfo.ini".
std::wstring GetIniPath();

// ReadIni on the shell's own file.
std::wstring ReadIni(const std::wstring& section, const std::wstring& key,
                     const std::wstring& defaultValue);

}  // namespace rwini
