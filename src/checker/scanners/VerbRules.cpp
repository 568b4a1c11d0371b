#include "checker/scanners/VerbRules.h"

#include <algorithm>

#include "checker/scanners/PathRules.h"

namespace {

bool HasText(const registry::Key& key, const wchar_t* name) {
  // DelegateExecute and the others are CLSIDs as text; a value of another type is still there.
  const std::optional<registry::RawValue> value = key.ReadValue(name);
  if (!value) return false;
  const std::optional<std::wstring> text = registry::TextOf(value->type, value->data);
  return !text || !text->empty();
}

}  // namespace

bool CarriedByValue(const registry::Key& verb) {
  for (const wchar_t* name : {L"DelegateExecute", L"ExplorerCommandHandler", L"DropTarget"})
    if (HasText(verb, name)) return true;
  return false;
}

bool CommandEmpty(const registry::Key& command) {
  return command.DefaultText().empty() && !HasText(command, L"DelegateExecute");
}

bool CommandMissing(const registry::Key& command, const FileQueries& files) {
  const std::wstring line = command.DefaultText();
  return !line.empty() && CommandProgramMissing(line, files) && command.SameThroughWide(L"", &line);
}

bool VerbWorks(const registry::Key& verb, const FileQueries& files) {
  if (CarriedByValue(verb)) return true;
  const registry::Key command = registry::Key::Open(verb.Get(), L"command");
  return command && !CommandEmpty(command) && !CommandMissing(command, files);
}

const std::vector<std::wstring_view>& SystemClassNames() {
  static const std::vector<std::wstring_view> names = {
      L"CLSID",   L"Interface", L"TypeLib",
      L"AppID",   L"*",         L"Directory",
      L"Drive",   L"Folder",    L"AllFilesystemObjects",
      L"exefile", L"comfile",   L"batfile",
      L"cmdfile", L"lnkfile",   L"regfile",
      L".exe",    L".com",      L".bat",
      L".cmd",    L".lnk",      L".reg",
      L".dll"};
  return names;
}

bool IsSystemClass(std::wstring_view name) {
  return std::any_of(
      SystemClassNames().begin(), SystemClassNames().end(),
      [name](std::wstring_view candidate) { return registry::SameName(name, candidate); });
}
