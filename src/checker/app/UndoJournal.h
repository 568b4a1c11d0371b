#pragma once
// What a repair is about to remove, written down before it goes, so that it can be brought
// back:
// - registry keys and values as Unicode registry-file text ("Windows Registry Editor Version
//   5.00", UTF-16LE) appended to the journal of the day beside the program,
//   "Undo_Sanivo_yyyymmdd.reg"; importing that file with the registry editor puts them back as
//   they were, in any language and into the registry view they came from. Each record goes in
//   whole or not at all. A day's file that is not such a journal, or whose last record is not
//   whole (an older REGEDIT4 journal, a file cut short), is never appended to: the day's records
//   then go to "Undo_Sanivo_yyyymmdd_2.reg", "_3", and so on;
// - shortcut files as copies in the folder "Undo_Sanivo_Backup" beside the program (its name
//   holds "backup", so the disk scans never look into it), with a comment line in the journal
//   naming the original and the copy.
// Each addition is flushed to the disk before the call returns; a repair goes ahead only when it
// succeeded. UI thread only.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class UndoJournal {
 public:
  using Clock = std::function<SYSTEMTIME()>;
  static constexpr wchar_t kFolderName[] = L"Undo_Sanivo_Backup";

  explicit UndoJournal(std::wstring folder, Clock clock = &LocalTime);

  // The journal file for a day: its first, and the n-th when the ones before it cannot be
  // appended to.
  std::wstring FileFor(const SYSTEMTIME& day, int n = 1) const;

  // Each returns the file that now holds what is needed to bring the entry back (the journal,
  // or the copy of a shortcut), none when it could not be written down.
  std::optional<std::wstring> RecordKey(HKEY root, const std::wstring& path);
  std::optional<std::wstring> RecordValue(HKEY root, const std::wstring& path,
                                          const std::wstring& name);
  std::optional<std::wstring> KeepFile(const std::wstring& path);

  // Why the last Record... or KeepFile gave none: what was to be written down could not be
  // read whole (a registry link, an unreadable value, a name no line can carry), or the file
  // could not be written.
  enum class Failure { None, Unreadable, NotWritten };
  Failure LastFailure() const { return lastFailure_; }

  // The journal files this object has written to, in order, each once.
  const std::vector<std::wstring>& Written() const { return written_; }

  static SYSTEMTIME LocalTime();

 private:
  // Appends a comment line with the time and the text; the journal's path, none on failure.
  std::optional<std::wstring> Append(const std::wstring& text);
  // Appends the record to the file when the file is empty or a whole journal; false when it
  // cannot, with the file as it was.
  static bool AppendTo(const std::wstring& path, const std::wstring& record, bool& unusable);

  // The text's record appended, or the failure noted.
  std::optional<std::wstring> Record(const std::optional<std::wstring>& text);

  std::wstring folder_;
  Clock clock_;
  Failure lastFailure_ = Failure::None;
  std::vector<std::wstring> written_;
};
