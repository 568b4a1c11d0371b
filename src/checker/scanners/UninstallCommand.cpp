#include "checker/scanners/UninstallCommand.h"

namespace {

// The first occurrence of `what` at 0-based index q with a "." four characters before it (an
// extension such as ".exe" directly before the match), else npos.
size_t AfterExtension(const std::wstring& s, std::wstring_view what) {
  const size_t q = s.find(what);
  return q != std::wstring::npos && q >= 4 && s[q - 4] == L'.' ? q : std::wstring::npos;
}

// Every run of backslashes becomes one, in one pass however long the text.
std::wstring CollapseBackslashes(const std::wstring& s) {
  std::wstring collapsed;
  collapsed.reserve(s.size());
  for (const wchar_t c : s)
    if (c != L'\\' || collapsed.empty() || collapsed.back() != L'\\') collapsed.push_back(c);
  return collapsed;
}

}  // namespace

std::wstring AsciiLower(std::wstring_view text) {
  std::wstring lowered(text);
  for (wchar_t& c : lowered)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return lowered;
}

std::wstring AsciiUpper(std::wstring_view text) {
  std::wstring raised(text);
  for (wchar_t& c : raised)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return raised;
}

std::optional<std::wstring> TrimUninstallCommand(std::wstring_view command) {
  std::wstring s = AsciiLower(command);
  if (s.find(L"rundll") != std::wstring::npos) return std::nullopt;
  const size_t exe = s.find(L".exe");
  if (exe == std::wstring::npos) return std::nullopt;
  // The cut is made where ".exe" ended before a leading quote went, so that it keeps the quote
  // that closes a quoted program ("c:\a b\x.exe" /s): that one goes with all the others below.
  if (s.front() == L'"') s.erase(0, 1);
  if (s.size() > exe + 4) s.resize(exe + 4);
  std::erase(s, L'"');
  s = CollapseBackslashes(s);
  if (const size_t q = AfterExtension(s, L" -"); q != std::wstring::npos) s.resize(q);
  if (const size_t q = AfterExtension(s, L"-"); q != std::wstring::npos) s.resize(q);
  return s;
}
