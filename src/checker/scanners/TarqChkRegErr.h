#pragma once
// TChkRegErr: the worker thread that walks one registry root depth-first and reports every value
// whose name or text is a path on a local fixed drive that does not exist (IsBadPath). Up to
// three run at once, for HKEY_CURRENT_USER, HKEY_USERS and HKEY_LOCAL_MACHINE.
#include <windows.h>

#include <optional>
#include <string>

#include "checker/scanners/FileQueries.h"
#include "checker/scanners/ScanThread.h"

namespace registry {
class Key;
struct NamedValue;
}  // namespace registry

class TChkRegErr : public TScanThread {
 public:
  // Where the walk starts and how its rows name it. For the program the start is a root key
  // itself (`startPath` empty) and `rootKeyName` is its name; a test lets a private tree stand
  // in for a root, its rows still naming the root it stands for.
  struct Start {
    HKEY rootKey = nullptr;
    std::wstring startPath;    // below rootKey; empty: the root itself
    std::wstring rootKeyName;  // "HKEY_CURRENT_USER", "HKEY_USERS", "HKEY_LOCAL_MACHINE"
  };

  // A walk of a whole root key (its name from the registry module).
  TChkRegErr(HKEY rootKey, std::wstring winDir, FileQueries files);
  TChkRegErr(Start start, std::wstring winDir, FileQueries files);

  // True when the walk leaves the key at `path` (below the root) out with all its subkeys: lists
  // that other checks look at, keys known to hold paths that need not exist, and Windows
  // Installer's own records below any "Installer" key of a root's or a user's classes, of
  // "Microsoft" or of "CurrentVersion" (source lists and caches that name download folders on
  // purpose; removing them breaks the repair and removal of the installed program).
  static bool Skipped(std::wstring_view path);

  // The walk's judgement of one value of `key`, as a row gives it: its name is a bad path
  // (IsBadPath), or its text trimmed of blanks and control characters is, which is then
  // returned. Either only when it came through the ANSI functions whole
  // (registry::Key::SameThroughWide).
  static bool NameIsBad(const registry::Key& key, const std::wstring& name,
                        std::wstring_view winDir, const FileQueries& files);
  static std::optional<std::wstring> TextIsBad(const registry::Key& key,
                                               const registry::NamedValue& value,
                                               std::wstring_view winDir, const FileQueries& files);

 protected:
  void Execute() override;

 private:
  void ScanRoot();
  // Walks the key `name` below `parent`, at `path` below the start.
  void ScanKey(const registry::Key& parent, const std::wstring& name, const std::wstring& path,
               int depth);
  void CheckValues(const std::wstring& path, const registry::Key& key);

  // All of these: set before the thread runs, then read by the worker only.
  const Start start_;
  const std::wstring winDir_;
  const FileQueries files_;
};
