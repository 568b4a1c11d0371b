#include "checker/scanners/DiskRules.h"

#include <windows.h>

#include "common/wow64.h"

namespace {

std::wstring Lower(std::wstring text) {
  if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// `path` is `folder` or lies below it (letter case aside): the rest after the folder, from its
// backslash on; nothing otherwise.
bool RestBelow(const std::wstring& path, const std::wstring& folder, std::wstring& rest) {
  if (folder.empty() || path.size() < folder.size()) return false;
  if (Lower(path.substr(0, folder.size())) != Lower(folder)) return false;
  if (path.size() > folder.size() && path[folder.size()] != L'\\') return false;
  rest = path.substr(folder.size());
  return true;
}

std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

bool HasDriveRoot(const std::wstring& path) {
  return path.size() >= 3 &&
         ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
         path[1] == L':' && path[2] == L'\\';
}

}  // namespace

bool SkippedDirectory(const std::wstring& path, const std::wstring& bakPath) {
  const std::wstring lower = Lower(path);
  if (!bakPath.empty() && lower.find(Lower(bakPath)) != std::wstring::npos) return true;
  return lower.find(L"backup") != std::wstring::npos ||
         lower.find(L"system volume information") != std::wstring::npos;
}

bool MatchesMask(const std::wstring& name, const std::wstring& mask) {
  if (mask == L"*.*") return true;
  const std::wstring text = Lower(name), pattern = Lower(mask);
  // Greedy match with one step back to the last '*'.
  size_t t = 0, p = 0, star = std::wstring::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == text[t])) {
      ++t;
      ++p;
    } else if (p < pattern.size() && pattern[p] == L'*') {
      star = p++;
      resume = t;
    } else if (star != std::wstring::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

Wow64Folders Wow64Folders::ForThisProcess(const std::wstring& winDir) {
  Wow64Folders folders;
  folders.active = common::IsWow64();
  if (!folders.active) return folders;
  if (!winDir.empty()) {
    folders.system32 = winDir + L"\\System32";
    folders.sysWow64 = winDir + L"\\SysWOW64";
  }
  folders.programFilesX86 = Environment(L"ProgramFiles(x86)");
  folders.programFiles = Environment(L"ProgramW6432");  // Windows 7 and later
  if (folders.programFiles.empty()) {
    // Before Windows 7 the 64-bit folder is the 32-bit one without its " (x86)".
    const std::wstring lower = Lower(folders.programFilesX86);
    const size_t x86 = lower.rfind(L" (x86)");
    if (x86 != std::wstring::npos && x86 + 6 == lower.size())
      folders.programFiles = folders.programFilesX86.substr(0, x86);
  }
  return folders;
}

std::vector<std::wstring> Wow64Alternatives(const std::wstring& target, const Wow64Folders& wow64) {
  std::vector<std::wstring> alternatives;
  if (!wow64.active) return alternatives;
  std::wstring rest;
  if (!wow64.system32.empty() && RestBelow(target, wow64.sysWow64, rest))
    alternatives.push_back(wow64.system32 + rest);
  if (!wow64.programFiles.empty() && RestBelow(target, wow64.programFilesX86, rest))
    alternatives.push_back(wow64.programFiles + rest);
  return alternatives;
}

bool BrokenLinkTarget(const std::wstring& target, const FileQueries& files,
                      const Wow64Folders& wow64) {
  if (target.empty() || target == kLinkMarker || target[0] == L'\\') return false;
  if (!HasDriveRoot(target) || target.find_first_of(L"?*") != std::wstring::npos) return false;
  // A drive letter that is not there now (a USB disk that is out), or a removable, CD-ROM,
  // network or RAM drive, cannot be judged.
  if (files.DriveType(target.substr(0, 3)) != DRIVE_FIXED) return false;
  if (!wow64.active) return !files.PathExists(target);

  // Only around the look-ups: the system's own loading of DLLs in this thread must stay
  // redirected.
  const common::Wow64RedirectionOff redirectionOff;
  if (files.PathExists(target)) return false;
  for (const std::wstring& alternative : Wow64Alternatives(target, wow64))
    if (files.PathExists(alternative)) return false;
  return true;
}
