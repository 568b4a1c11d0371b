#pragma once
// When a shell verb ("Software\CLASSES\<class>\Shell\<verb>") runs something, as far as the
// checker can tell: what the class scan and the verb scan share. Any thread.
#include "checker/scanners/FileQueries.h"
#include "checker/scanners/Registry.h"

#include <string_view>
#include <vector>

// The verb key holds a value through which the system runs the verb without a command line
// (DelegateExecute, ExplorerCommandHandler, DropTarget): it is not empty, whatever it lacks.
bool CarriedByValue(const registry::Key& verb);

// The verb's "command" key holds nothing to run: an empty command line and no DelegateExecute.
bool CommandEmpty(const registry::Key& command);

// The verb's "command" key holds a command line whose program is known to be missing
// (CommandProgramMissing), read whole through the ANSI functions.
bool CommandMissing(const registry::Key& command, const FileQueries& files);

// The verb runs something: a value carries it, or its command is neither empty nor missing.
bool VerbWorks(const registry::Key& verb, const FileQueries& files);

// The classes and file types the system itself starts programs and finds components through
// ("CLSID", "Directory", "exefile", ".exe", ...): whatever state they are in, they are never
// reported and never taken away.
const std::vector<std::wstring_view>& SystemClassNames();
bool IsSystemClass(std::wstring_view name);
