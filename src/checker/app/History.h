#pragma once
// The repair history: Repair.log beside the program, an INI file in the ANSI code page written
// through the profile functions. Each entry is one section named by the date and the time to
// the second; entries made within the same second share it, the later values replacing the
// earlier ones.
#include <windows.h>

#include <string>

// Repair.log in the folder.
std::wstring HistoryPath(const std::wstring& programDirectory);

// "yyyy-mm-dd|" and the time in the user's long time format.
std::wstring HistorySection(const SYSTEMTIME& time);

// Writes one entry: "行为" = action, "记录" = record, and "撤销文件" = the file that brings back
// what the repair removed. An entry without such a file removes that key, so that an entry
// sharing its second with a repair does not carry the repair's file. Line breaks inside the
// texts become blanks (they would end the INI line). False on any failure.
bool WriteHistory(const std::wstring& path, const SYSTEMTIME& time, const std::wstring& action,
                  const std::wstring& record, const std::wstring& undoFile);

// The file's text, line by line, each line ending in CR LF (as an edit control shows lines);
// empty when the file is missing or unreadable.
std::wstring ReadHistoryText(const std::wstring& path);

// Deletes the file; false when there is none or it cannot be deleted.
bool ClearHistory(const std::wstring& path);
