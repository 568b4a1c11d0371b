#pragma once
// The path rules of the registry scans: when a text found in the registry is a reference to a
// file or folder that is gone, and which program a command line starts. Plain text work over wide
// strings; the questions to the file system come in through FileQueries, so that every rule can
// be tried without a disk. Any thread.
#include <string>
#include <string_view>
#include <vector>

#include "checker/scanners/FileQueries.h"

// True only for a path on a local fixed drive that names nothing that exists. A command line is
// first trimmed down to the path it starts with (arguments, quotes, an icon index after a
// comma); a text that still holds argument-like characters after that is not judged, nor is an
// icon reference below the Windows directory `winDir`, nor a path holding one of a few names
// known to be referred to without existing, nor a text holding an environment variable (its
// value is that of the program that reads it, not the checker's). Never bad either: a text one
// of whose leading parts, cut before a blank, is an existing file (a program followed by
// arguments that hold a path, "C:\App\app.exe C:\Notes\todo.txt").
bool IsBadPath(std::wstring_view text, std::wstring_view winDir, const FileQueries& files);

// The same test for the single value of an uninstall entry, which is stricter about what it
// accepts as a path: a text that is neither a drive path nor a network path is bad. It trims a
// little less (one blank rule, the comma cut like the other argument characters, no
// Windows-directory exception) and has no excluded names. Environment variables are expanded
// first (`files.Expand`): the text is bad only when every form it expands to is; a variable
// left unexpanded leaves the text unjudged.
bool IsBadUninstallPath(std::wstring_view text, const FileQueries& files);

// The program a command line starts, as far as its text shows it: the first quoted part, or the
// text up to the first ".exe" when an ".exe" followed by a blank is in it (letter case aside),
// else up to another program extension (".com", ".bat", ".cmd", ".pif", ".scr") followed by a
// blank, or up to a switch or comma after an extension of three letters. Returns the text
// unchanged when none of these applies.
std::wstring ExtractExePath(std::wstring_view commandLine);

// "%NAME%" somewhere in the text, NAME beginning with a letter or "_" ("%1" is an argument
// placeholder, not a variable).
bool HoldsVariable(std::wstring_view text);

// The texts `text` stands for once its environment variables are expanded by `files.Expand`
// (more than one where a variable has two meanings, as %ProgramFiles% on 64-bit Windows): the
// text itself when it holds none. Empty when a variable stays unexpanded (or there is nothing to
// expand with): such a text cannot be judged.
std::vector<std::wstring> ExpandedForms(std::wstring_view text, const FileQueries& files);

// Where the system may find the program of a command line, in the order it tries them: for a
// quoted command the quoted part; otherwise the text up to each blank in turn, then the whole
// text. Each comes also with ".exe" added when its name has no extension.
std::vector<std::wstring> ProgramCandidates(std::wstring_view commandLine);

// A full path ("X:\...") on a local fixed drive, without "?" (a character the code page could
// not hold) or "*": the only kind of path whose absence the scans take for a finding. A path on
// a drive letter that does not exist, on a removable, CD-ROM, network or RAM drive, or a network
// path cannot be judged: the disk may just be away.
bool JudgeablePath(std::wstring_view path, const FileQueries& files);

// The program of a class's or verb's command is known to be missing: the command, its
// environment variables expanded, starts with a full path on a local fixed drive (quoted or
// not), and neither the program ExtractExePath finds nor any other of its ProgramCandidates is an
// existing file. A command that starts with a bare program name ("rundll32.exe ..."), a network
// path, or anything else that cannot be judged is never missing.
bool CommandProgramMissing(std::wstring_view commandLine, const FileQueries& files);
