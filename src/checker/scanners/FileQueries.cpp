#include "checker/scanners/FileQueries.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>

#include "common/text.h"
#include "common/wow64.h"

static_assert(kDriveFixed == DRIVE_FIXED);

namespace {

PathKind SystemLook(const std::wstring& path, bool redirectionOff) {
  // An empty text would be the current folder, which is not what any caller asks about.
  if (path.empty()) return PathKind::Missing;
  const std::string ansi = common::ToAnsi(path);
  // The ANSI functions take no longer path; what it names cannot be looked at.
  if (ansi.size() >= MAX_PATH) return PathKind::Unknown;
  std::optional<common::Wow64RedirectionOff> off;
  if (redirectionOff) off.emplace();
  const DWORD attributes = GetFileAttributesA(ansi.c_str());
  const DWORD error = GetLastError();
  off.reset();
  if (attributes != INVALID_FILE_ATTRIBUTES)
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::Folder : PathKind::File;
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
      return PathKind::Missing;
    default:
      return PathKind::Unknown;
  }
}

std::wstring Variable(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

std::wstring ExpandedBySystem(const std::wstring& text) {
  std::wstring expanded(1024, L'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), expanded.data(),
                                                   static_cast<DWORD>(expanded.size()));
    if (needed == 0) return text;
    if (needed <= expanded.size()) {
      expanded.resize(needed - 1);
      return expanded;
    }
    expanded.assign(needed, L'\0');
  }
  return text;
}

// Where each folder variable has a twin on 64-bit Windows: a registration written by a 64-bit
// program means its folder, one written by a 32-bit program the other, and the checker cannot
// tell which wrote it. The twins that are not set (all of them on 32-bit Windows) add nothing.
struct VariableTwins {
  const wchar_t* name;
  const wchar_t* twins[2];
};
constexpr VariableTwins kFolderTwins[] = {
    {L"ProgramFiles", {L"ProgramW6432", L"ProgramFiles(x86)"}},
    {L"CommonProgramFiles", {L"CommonProgramW6432", L"CommonProgramFiles(x86)"}},
};

// `text` with every "%name%" (letter case aside) replaced by "%twin%".
std::wstring WithVariable(const std::wstring& text, const std::wstring& name,
                          const std::wstring& twin) {
  std::wstring upper = text, result;
  CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  std::wstring key = L"%" + name + L"%";
  CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
  size_t from = 0;
  for (size_t at = upper.find(key); at != std::wstring::npos; at = upper.find(key, from)) {
    result += text.substr(from, at - from) + L"%" + twin + L"%";
    from = at + key.size();
  }
  return result + text.substr(from);
}

std::vector<std::wstring> SystemExpansions(const std::wstring& text) {
  std::vector<std::wstring> forms = {ExpandedBySystem(text)};
  for (const VariableTwins& variable : kFolderTwins)
    for (const wchar_t* twin : variable.twins) {
      if (Variable(twin).empty()) continue;
      const std::wstring other = WithVariable(text, variable.name, twin);
      if (other == text) continue;
      const std::wstring form = ExpandedBySystem(other);
      if (std::find(forms.begin(), forms.end(), form) == forms.end()) forms.push_back(form);
    }
  return forms;
}

}  // namespace

FileQueries FileQueries::OverLook(
    std::function<PathKind(const std::wstring& path, bool redirectionOff)> look, bool wow64) {
  const auto kind = [look = std::move(look), wow64](const std::wstring& path) {
    const PathKind seen = look(path, false);
    return seen == PathKind::Missing && wow64 ? look(path, true) : seen;
  };
  FileQueries queries;
  queries.FileExists = [kind](const std::wstring& path) {
    const PathKind k = kind(path);
    return k == PathKind::File || k == PathKind::Unknown;
  };
  queries.PathExists = [kind](const std::wstring& path) { return kind(path) != PathKind::Missing; };
  return queries;
}

FileQueries FileQueries::System() {
  FileQueries queries = OverLook(SystemLook, common::IsWow64());
  queries.DriveType = [](const std::wstring& root) {
    return GetDriveTypeA(common::ToAnsi(root).c_str());
  };
  queries.LogicalDrives = [] { return GetLogicalDrives(); };
  queries.Expand = &SystemExpansions;
  return queries;
}

FileQueries FileQueries::RememberingDriveTypes(FileQueries files) {
  auto known = std::make_shared<std::map<std::wstring, unsigned>>();
  files.DriveType = [known, ask = std::move(files.DriveType)](const std::wstring& root) {
    std::wstring key = root;
    CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
    const auto found = known->find(key);
    if (found != known->end()) return found->second;
    const unsigned type = ask ? ask(root) : DRIVE_UNKNOWN;
    known->emplace(std::move(key), type);
    return type;
  };
  return files;
}
