#pragma once
// The path rules of the registry scans: when a text found in the registry is a reference to a
// file or folder that is gone, and which program a command line starts. Plain text work over wide
// strings; the questions to the file system come in through FileQueries, so that every rule can
// be tried without a disk. Any thread.
#include <string>
#include <string_view>

#include "checker/scanners/FileQueries.h"

// True only for a path on a local fixed drive that names nothing that exists. A command line is
// first trimmed down to the path it starts with (arguments, quotes, an icon index after a
// comma); a text that still holds argument-like characters after that is not judged, nor is an
// icon reference below the Windows directory `winDir`, nor a path holding one of a few names
// known to be referred to without existing.
bool IsBadPath(std::wstring_view text, std::wstring_view winDir, const FileQueries& files);

// The same test for the single value of an uninstall entry, which is stricter about what it
// accepts as a path: a text that is not a drive path at all is bad. It trims a little less
// (one blank rule, the comma cut like the other argument characters, no Windows-directory
// exception) and has no excluded names.
bool IsBadUninstallPath(std::wstring_view text, const FileQueries& files);

// The program a command line starts, as far as its text shows it: the first quoted part, or the
// text up to ".exe" followed by a blank, or up to a switch or comma after an extension of three
// letters. Returns the text unchanged when none of these applies.
std::wstring ExtractExePath(std::wstring_view commandLine);
