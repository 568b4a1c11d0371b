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
  bool refuseEquals;     // "=" in what is left means the text is not judged
  bool expandVariables;  // judged after expansion; otherwise a text with a variable is not judged
};

constexpr Variant kRegistryPath{false, true, L"\"^'/-%!|[=", true, true, true, false};
constexpr Variant kUninstallPath{true, false, L"\"^'/-%!|[,", false, false, false, true};

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

bool IsDriveLetter(wchar_t c) { return AsciiUpper(c) >= L'A' && AsciiUpper(c) <= L'Z'; }

// A leading part of the command line, cut before a blank as the system cuts an unquoted
// command, is an existing file: the text is a program with its arguments, whatever they hold.
bool SomeProgramExists(std::wstring_view text, const FileQueries& files) {
  if (!files.FileExists) return false;
  for (const std::wstring& candidate : ProgramCandidates(text))
    if (candidate.size() > 3 && files.FileExists(candidate)) return true;
  return false;
}

bool IsBadAsWritten(std::wstring_view text, std::wstring_view winDir, const FileQueries& files,
                    const Variant& rules) {
  std::wstring s(text);
  if (s.size() <= 2) return rules.notAPathIsBad;
  // A leading quote (or any one character) before "C:\".
  if (At(s, 3) == L':' && s.size() > 3) s.erase(0, 1);

  // A network path names a share that may just be away: it cannot be judged.
  if (At(s, 1) == L'\\' && At(s, 2) == L'\\') return false;
  if (!IsDriveLetter(At(s, 1)) || At(s, 2) != L':' || At(s, 3) != L'\\') return rules.notAPathIsBad;
  // Only local fixed drives are judged: a CD that is out, a network share that is away, a USB
  // disk that is not plugged in or a floppy does not make a reference stale.
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
  if (SomeProgramExists(text, files)) return false;
  return !files.PathExists(s);
}

bool IsBad(std::wstring_view text, std::wstring_view winDir, const FileQueries& files,
           const Variant& rules) {
  if (!HoldsVariable(text)) return IsBadAsWritten(text, winDir, files, rules);
  // The literal text is never judged: "%ProgramFiles%\App\x.exe" names no file as it stands.
  if (!rules.expandVariables) return false;
  const std::vector<std::wstring> forms = ExpandedForms(text, files);
  if (forms.empty()) return false;
  for (const std::wstring& form : forms)
    if (!IsBadAsWritten(form, winDir, files, rules)) return false;
  return true;
}

// The extensions of the files the system starts as programs.
constexpr std::wstring_view kProgramExtensions[] = {L".com", L".bat", L".cmd", L".pif", L".scr"};

// The position of the first occurrence of `what` in `s`, letter case aside (ASCII), else npos.
size_t FindNoCase(const std::wstring& s, std::wstring_view what) {
  return AsciiUpper(s).find(AsciiUpper(what));
}

// The name after the last backslash has an extension.
bool HasExtension(std::wstring_view path) {
  const size_t slash = path.find_last_of(L"\\:");
  const size_t dot = path.rfind(L'.');
  return dot != std::wstring_view::npos && (slash == std::wstring_view::npos || dot > slash);
}

// More blanks than any real program path has; the system tries no further.
constexpr size_t kMostCandidateBlanks = 32;

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
  // The system finds a program whatever the letter case of its extension
  // ("C:\WINDOWS\SYSTEM32\RUNDLL32.EXE C:\x\FOO.DLL,View %1").
  if (FindNoCase(c, L".exe ") != std::wstring::npos) {
    c.resize(FindNoCase(c, L".exe") + 4);
  } else {
    size_t first = std::wstring::npos;
    for (const std::wstring_view extension : kProgramExtensions)
      first = std::min(first, FindNoCase(c, std::wstring(extension) + L" "));
    if (first != std::wstring::npos) c.resize(first + 4);
  }
  for (const std::wstring_view separator : {L" /", L" -", L" %", L" ,", L","}) {
    const Position p = Find(c, separator);
    if (p != 0 && At(c, p - 4) == L'.') CutAt(c, p);
  }
  return c;
}

bool HoldsVariable(std::wstring_view text) {
  for (size_t start = text.find(L'%'); start != std::wstring_view::npos;) {
    const size_t end = text.find(L'%', start + 1);
    if (end == std::wstring_view::npos) return false;
    const wchar_t first = text[start + 1];
    const bool named = end > start + 1 && (IsDriveLetter(first) || first == L'_') &&
                       text.substr(start + 1, end - start - 1).find_first_of(L"\\\"\t\r\n") ==
                           std::wstring_view::npos;
    if (named) return true;
    start = end;  // "%1 %Name%": the second sign may open a name
  }
  return false;
}

std::vector<std::wstring> ExpandedForms(std::wstring_view text, const FileQueries& files) {
  if (!HoldsVariable(text)) return {std::wstring(text)};
  if (!files.Expand) return {};
  std::vector<std::wstring> forms = files.Expand(std::wstring(text));
  for (const std::wstring& form : forms)
    if (HoldsVariable(form)) return {};
  return forms;
}

std::vector<std::wstring> ProgramCandidates(std::wstring_view commandLine) {
  std::vector<std::wstring> candidates;
  const auto add = [&candidates](std::wstring path) {
    if (path.empty()) return;
    const bool bare = !HasExtension(path);
    candidates.push_back(path);
    if (bare) candidates.push_back(path + L".exe");
  };
  size_t start = 0;
  while (start < commandLine.size() && commandLine[start] == L' ') ++start;
  const std::wstring_view c = commandLine.substr(start);
  if (!c.empty() && c.front() == L'"') {
    const size_t closing = c.find(L'"', 1);
    add(std::wstring(c.substr(1, closing == std::wstring_view::npos ? c.npos : closing - 1)));
    return candidates;
  }
  size_t blanks = 0;
  for (size_t blank = c.find(L' ');
       blank != std::wstring_view::npos && blanks < kMostCandidateBlanks;
       blank = c.find(L' ', blank + 1), ++blanks)
    add(std::wstring(c.substr(0, blank)));
  add(std::wstring(c));
  return candidates;
}

bool JudgeablePath(std::wstring_view path, const FileQueries& files) {
  if (path.size() < 3 || !IsDriveLetter(path[0]) || path[1] != L':' || path[2] != L'\\')
    return false;
  if (path.find_first_of(L"?*") != std::wstring_view::npos) return false;
  return files.DriveType && files.DriveType(std::wstring(path.substr(0, 3))) == kDriveFixed;
}

bool CommandProgramMissing(std::wstring_view commandLine, const FileQueries& files) {
  if (!files.FileExists) return false;
  const std::vector<std::wstring> forms = ExpandedForms(commandLine, files);
  if (forms.empty()) return false;
  for (const std::wstring& form : forms) {
    const std::wstring program = ExtractExePath(form);
    if (!JudgeablePath(program, files) || files.FileExists(program)) return false;
    if (SomeProgramExists(form, files)) return false;
  }
  return true;
}
