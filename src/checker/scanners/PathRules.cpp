#include "checker/scanners/PathRules.h"

#include <algorithm>
#include <initializer_list>

namespace {

// The rules count character positions from 1, as people read them; a position outside the text
// holds no character, so it never matches one.
using Position = long long;

wchar_t At(const std::wstring& s, Position p) {
  return p >= 1 && p <= static_cast<Position>(s.size()) ? s[static_cast<size_t>(p - 1)] : L'\0';
}

// Position of the first occurrence, 0 when there is none (an empty text never occurs).
Position Find(const std::wstring& s, std::wstring_view what) {
  if (what.empty()) return 0;
  const size_t at = s.find(what);
  return at == std::wstring::npos ? 0 : static_cast<Position>(at) + 1;
}

// Deletes from position p to the end.
void CutAt(std::wstring& s, Position p) {
  if (p >= 1 && p <= static_cast<Position>(s.size())) s.resize(static_cast<size_t>(p - 1));
}

// Only ASCII letters change case: every name compared here is ASCII, and a multi-byte character
// of the code page must never turn into something else.
wchar_t AsciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; }

std::wstring AsciiUpper(std::wstring_view text) {
  std::wstring upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](wchar_t c) { return AsciiUpper(c); });
  return upper;
}

bool ContainsAny(const std::wstring& s, std::initializer_list<std::wstring_view> texts) {
  return std::any_of(texts.begin(), texts.end(),
                     [&](std::wstring_view t) { return s.find(t) != std::wstring::npos; });
}

// A run of backslashes stands for one ("C:\\Program Files\\x" as some installers write it).
void CollapseBackslashes(std::wstring& s) {
  const auto end = std::unique(s.begin(), s.end(),
                               [](wchar_t a, wchar_t b) { return a == L'\\' && b == L'\\'; });
  s.erase(end, s.end());
}

// Where the two tests differ.
struct Variant {
  bool notAPathIsBad;           // a text too short or without a drive is bad (uninstall)
  bool secondBlankRule;         // a blank after an extension and a quote ends the path
  std::wstring_view cutChars;   // a character directly after an extension ends the path
  bool commaBelowWinDirIsFine;  // the icon-index rule, with its Windows-directory exception
  bool excludedNames;
  bool refuseEquals;  // "=" in what is left means the text is not judged
};

constexpr Variant kRegistryPath{false, true, L"\"^'/-%!|[=", true, true, true};
constexpr Variant kUninstallPath{true, false, L"\"^'/-%!|[,", false, false, false};

// Dot rule: the position, counted in the text without its dots, that the last dot would have
// once all dots before it are gone; a blank four places after it in the text ends the path.
void CutAfterLastDot(std::wstring& s) {
  Position dots = 0, lastDot = 0;
  for (Position i = 1; i <= static_cast<Position>(s.size()); ++i)
    if (At(s, i) == L'.') {
      ++dots;
      lastDot = i;
    }
  if (dots < 2) return;
  const Position k = lastDot - (dots - 1);
  if (At(s, k + 4) == L' ') CutAt(s, k + 4);
}

// Trims a command line in a name without blanks down to the path it starts with. False when the
// text turns out to be an icon reference below the Windows directory.
bool TrimArguments(std::wstring& s, const Variant& rules, std::wstring_view winDir) {
  for (const wchar_t c : rules.cutChars) {
    const Position p = Find(s, std::wstring_view(&c, 1));
    if (p != 0 && At(s, p - 4) == L'.') CutAt(s, p);
  }
  CutAfterLastDot(s);
  if (rules.commaBelowWinDirIsFine) {
    const Position p = Find(s, L",");
    if (p != 0 && At(s, p - 4) == L'.') {
      CutAt(s, p);
      // An empty Windows directory is no folder that anything could lie below.
      if (!winDir.empty() && AsciiUpper(s).find(AsciiUpper(winDir)) != std::wstring::npos)
        return false;
    }
  }
  return true;
}

// Trims a name holding a blank: "app.exe /x" and "app.exe\" /x" end at the extension.
void TrimAtBlank(std::wstring& s, const Variant& rules) {
  const size_t split = s.find_last_of(L"\\:");
  const std::wstring directory = s.substr(0, split + 1);
  std::wstring name = s.substr(split + 1);
  const Position p = Find(name, L" ");
  if (At(name, p - 4) == L'.') {
    CutAt(name, p);
    s = directory + name;
  }
  if (!rules.secondBlankRule) return;
  const Position q = Find(name, L" ");
  if (q != 0 && At(name, q - 5) == L'.') {
    CutAt(name, q - 1);
    s = directory + name;
  }
}

bool NamesExcludedPath(const std::wstring& s) {
  return ContainsAny(AsciiUpper(s), {L"QCDPLAYER.EXE", L"IE6SETUP", L"DAEMON TOOLS.LNK",
                                     L"SPEECHENGINES\\MICROSOFT\\", L"VIAVOICE", L"OFFICE\\DATA\\",
                                     L"PKMRES.DLL", L"RATIONAL", L"EB.EXE", L".EXE.DLL",
                                     L"RTSCAN.INI", L"JMC230.PRO", L".MNS", L".MNC", L"ACADM"});
}

bool HoldsArguments(const std::wstring& s, bool refuseEquals) {
  if (refuseEquals && s.find(L'=') != std::wstring::npos) return true;
  return ContainsAny(s, {L" \\", L"/", L"*", L"?", L"\"", L"<", L">", L"|", L",", L";", L" ^",
                         L" %", L" -", L" '", L" ("});
}

bool IsBad(std::wstring_view text, std::wstring_view winDir, const FileQueries& files,
           const Variant& rules) {
  std::wstring s(text);
  if (s.size() <= 2) return rules.notAPathIsBad;
  // A leading quote (or any one character) before "C:\".
  if (At(s, 3) == L':' && s.size() > 3) s.erase(0, 1);

  const wchar_t drive = AsciiUpper(At(s, 1));
  if (drive < L'C' || drive > L'Z' || At(s, 2) != L':' || At(s, 3) != L'\\')
    return rules.notAPathIsBad;
  // Only local fixed drives are judged: a CD that is out, a network share that is away or a
  // floppy does not make a reference stale.
  if (!files.DriveType || !files.PathExists) return false;
  if (files.DriveType(s.substr(0, 3)) != kDriveFixed) return false;

  CollapseBackslashes(s);
  if (files.PathExists(s)) return false;

  // A backslash at the end right after an extension, or after an extension and a closing quote,
  // is no part of the path.
  if (!s.empty() && s.back() == L'\\' && At(s, static_cast<Position>(s.size()) - 4) == L'.')
    s.pop_back();
  if (!s.empty() && s.back() == L'\\' && At(s, static_cast<Position>(s.size()) - 5) == L'.')
    s.resize(s.size() - 2);

  const size_t split = s.find_last_of(L"\\:");
  if (s.find(L' ', split + 1) != std::wstring::npos)
    TrimAtBlank(s, rules);
  else if (!TrimArguments(s, rules, winDir))
    return false;

  if (rules.excludedNames && NamesExcludedPath(s)) return false;
  if (HoldsArguments(s, rules.refuseEquals)) return false;
  return !files.PathExists(s);
}

}  // namespace

bool IsBadPath(std::wstring_view text, std::wstring_view winDir, const FileQueries& files) {
  return IsBad(text, winDir, files, kRegistryPath);
}

bool IsBadUninstallPath(std::wstring_view text, const FileQueries& files) {
  return IsBad(text, {}, files, kUninstallPath);
}

std::wstring ExtractExePath(std::wstring_view commandLine) {
  std::wstring c(commandLine);
  if (const size_t quote = c.find(L'"'); quote != std::wstring::npos) {
    c.erase(quote, 1);
    if (const size_t closing = c.find(L'"', quote); closing != std::wstring::npos)
      c.resize(closing);
  }
  if (c.find(L".exe ") != std::wstring::npos) c.resize(c.find(L".exe") + 4);
  for (const std::wstring_view separator : {L" /", L" -", L" %", L" ,", L","}) {
    const Position p = Find(c, separator);
    if (p != 0 && At(c, p - 4) == L'.') CutAt(c, p);
  }
  return c;
}
