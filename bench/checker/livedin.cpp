// A lived-in prefix: a Windows PC after a few years of use, from one table. A dozen programs with
// the registrations real installers write (uninstall entries in both forms, App Paths, file
// associations with open and print verbs, context-menu handlers, shared DLLs, fonts, help files,
// Run entries with arguments, shortcuts on the desktop and in the Start menu, Windows Installer
// records), some removed badly so that their leftovers are really stale, some on drives that are
// away or in text the code page cannot hold. Its programs are copies of livedin_app.exe, which
// only notes its command line in C:\LivedIn\ran.log. Used by livedin.sh:
//
//   livedin plant          plants the table into the prefix it runs in
//   livedin judge ROWS     reads the rows of a scan (item TAB location TAB key name TAB
//                          description, UTF-8, one a line) and counts them against the table:
//                          planted stale entries found, rows naming something that works
//   livedin works          after repair-all: starts every planted program, opens and prints its
//                          documents through their associations, runs its verbs, Run entries
//                          and uninstall commands, and looks for its other registrations
//
// Built for the bitness of the checker it measures: its own registry view is the checker's.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "common/wow64.h"

namespace {

constexpr wchar_t kHome[] = L"C:\\LivedIn";
constexpr wchar_t kLog[] = L"C:\\LivedIn\\ran.log";
constexpr wchar_t kHklm[] = L"HKEY_LOCAL_MACHINE";
constexpr wchar_t kHkcu[] = L"HKEY_CURRENT_USER";
constexpr wchar_t kUninstall[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr wchar_t kAppPaths[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
constexpr wchar_t kClasses[] = L"Software\\Classes\\";
constexpr wchar_t kRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kFonts[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";
constexpr wchar_t kHelp[] = L"Software\\Microsoft\\Windows\\Help";
constexpr wchar_t kHtmlHelp[] = L"Software\\Microsoft\\Windows\\HTML Help";
constexpr wchar_t kSharedDlls[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr wchar_t kMenuOrder[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\Programs";

std::wstring Upper(std::wstring text) {
  CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

bool Same(const std::wstring& a, const std::wstring& b) { return Upper(a) == Upper(b); }

std::wstring Variable(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? value : L"";
}

std::wstring Expand(const std::wstring& text) {
  wchar_t expanded[4096] = {};
  const DWORD length = ExpandEnvironmentStringsW(text.c_str(), expanded, 4096);
  return length > 0 && length <= 4096 ? expanded : text;
}

std::wstring Special(int csidl) {
  wchar_t path[MAX_PATH] = {};
  return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, 0, path)) ? path : L"";
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.rfind(L'\\')); }

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeFolders(const std::wstring& folder) {
  SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
}

std::string Utf8(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), n, nullptr, nullptr);
  return bytes;
}

std::wstring FromUtf8(const std::string& bytes) {
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
  return text;
}

void Say(const std::wstring& text) {
  std::fputs((Utf8(text) + "\n").c_str(), stdout);
  std::fflush(stdout);
}

std::wstring ReadLog() {
  std::ifstream in(kLog, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return FromUtf8(all.str());
}

// --- The table -----------------------------------------------------------------------------------

enum class State { Works, Stale, Unjudgeable };

// A row that would name a planted entry: a key (and what is below it), one value of a key, or a
// file or folder of the disk scans.
struct Sign {
  std::wstring root, location;
  std::optional<std::wstring> value;  // none: the key and everything below it
};

struct Entry {
  std::wstring program, what;
  State state;
  std::vector<Sign> signs;
  std::function<bool()> works;  // after repair-all (Works and Unjudgeable entries)
};

class Table {
 public:
  explicit Table(bool planting);

  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  Entry& Add(const std::wstring& program, const std::wstring& what, State state) {
    entries_.push_back({program, what, state, {}, [] { return true; }});
    return entries_.back();
  }
  static HKEY Root(const std::wstring& name) {
    return name == kHklm ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  }

  // Planting (only when planting_), each returning what it made for the entry's signs.
  void Text(const std::wstring& root, const std::wstring& key, const std::wstring& name,
            const std::wstring& data, DWORD type = REG_SZ, REGSAM view = 0);
  void Dword(const std::wstring& root, const std::wstring& key, const std::wstring& name,
             DWORD data);
  void MakeKey(const std::wstring& root, const std::wstring& key, REGSAM view = 0);
  void Program(const std::wstring& path);  // a copy of livedin_app.exe
  void File(const std::wstring& path, const std::string& bytes);
  void Link(const std::wstring& path, const std::wstring& target, DWORD storedAttributes = 0);
  void ShellObjectLink(const std::wstring& path, int csidl);
  void Folder(const std::wstring& path);
  void Gone(const std::wstring& path);  // made, then removed (a target that was there once)

  // Entries of the kinds the table is made of.
  void Uninstall(const std::wstring& program, State state, const std::wstring& key,
                 const std::wstring& command, DWORD type = REG_SZ, bool wide = false);
  void Association(const std::wstring& program, State state, const std::wstring& extension,
                   const std::wstring& className, const std::wstring& open,
                   const std::wstring& print = L"", DWORD type = REG_SZ);
  void Verb(const std::wstring& program, State state, const std::wstring& shellClass,
            const std::wstring& verb, const std::wstring& command,
            const std::wstring& carrier = L"");
  void RunEntry(const std::wstring& program, State state, const std::wstring& name,
                const std::wstring& command, bool wide = false);

  // Whether a command line starts its program, now: run with a token of its own for "%1" (a
  // document of `extension` made for it when one is given) and found in the log.
  std::function<bool()> Starts(const std::wstring& command, const std::wstring& extension = L"");
  std::function<bool()> OpensThroughShell(const std::wstring& verb, const std::wstring& extension);
  static std::function<bool()> KeyThere(const std::wstring& root, const std::wstring& key,
                                        REGSAM view = 0);
  static std::function<bool()> ValueThere(const std::wstring& root, const std::wstring& key,
                                          const std::wstring& name);
  static std::function<bool()> FileThere(const std::wstring& path);
  static std::function<bool()> All(std::vector<std::function<bool()>> checks);

  const bool planting_;
  REGSAM otherView_;  // the other registry view of 64-bit Windows, 0 where there is one view
  std::wstring programFiles_, commonFiles_, windows_, desktop_, programs_, fonts_, self_;
  std::vector<Entry> entries_;
  int tokens_ = 0;
};

void Table::Text(const std::wstring& root, const std::wstring& key, const std::wstring& name,
                 const std::wstring& data, DWORD type, REGSAM view) {
  if (!planting_) return;
  HKEY opened = nullptr;
  RegCreateKeyExW(Root(root), key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &opened,
                  nullptr);
  RegSetValueExW(opened, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(opened);
}

void Table::Dword(const std::wstring& root, const std::wstring& key, const std::wstring& name,
                  DWORD data) {
  if (!planting_) return;
  HKEY opened = nullptr;
  RegCreateKeyExW(Root(root), key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened,
                  nullptr);
  RegSetValueExW(opened, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                 sizeof(data));
  RegCloseKey(opened);
}

void Table::MakeKey(const std::wstring& root, const std::wstring& key, REGSAM view) {
  if (!planting_) return;
  HKEY opened = nullptr;
  RegCreateKeyExW(Root(root), key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &opened,
                  nullptr);
  RegCloseKey(opened);
}

void Table::Program(const std::wstring& path) {
  if (!planting_) return;
  MakeFolders(FolderOf(path));
  CopyFileW((FolderOf(self_) + L"\\livedin_app.exe").c_str(), path.c_str(), FALSE);
}

void Table::File(const std::wstring& path, const std::string& bytes) {
  if (!planting_) return;
  MakeFolders(FolderOf(path));
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void Table::Link(const std::wstring& path, const std::wstring& target, DWORD storedAttributes) {
  if (!planting_) return;
  MakeFolders(FolderOf(path));
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return;
  link->SetPath(target.c_str());
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    file->Save(path.c_str(), TRUE);
    file->Release();
  }
  link->Release();
  if (storedAttributes == 0) return;
  // The target's attributes as Windows keeps them in the shortcut's header (Wine writes 0).
  const HANDLE lnk =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFilePointer(lnk, 0x18, nullptr, FILE_BEGIN);
  DWORD written = 0;
  WriteFile(lnk, &storedAttributes, sizeof(storedAttributes), &written, nullptr);
  CloseHandle(lnk);
}

void Table::ShellObjectLink(const std::wstring& path, int csidl) {
  if (!planting_) return;
  MakeFolders(FolderOf(path));
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  LPITEMIDLIST items = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return;
  if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, csidl, &items))) link->SetIDList(items);
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    file->Save(path.c_str(), TRUE);
    file->Release();
  }
  CoTaskMemFree(items);
  link->Release();
}

void Table::Folder(const std::wstring& path) {
  if (planting_) MakeFolders(path);
}

void Table::Gone(const std::wstring& path) {
  if (!planting_) return;
  DeleteFileW(path.c_str());
  RemoveDirectoryW(path.c_str());
}

std::function<bool()> Table::KeyThere(const std::wstring& root, const std::wstring& key,
                                      REGSAM view) {
  return [=] {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(Root(root), key.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS)
      return false;
    RegCloseKey(opened);
    return true;
  };
}

std::function<bool()> Table::ValueThere(const std::wstring& root, const std::wstring& key,
                                        const std::wstring& name) {
  return [=] {
    return SHGetValueW(Root(root), key.c_str(), name.c_str(), nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
  };
}

std::function<bool()> Table::FileThere(const std::wstring& path) {
  return [=] { return Exists(path); };
}

std::function<bool()> Table::All(std::vector<std::function<bool()>> checks) {
  return [checks] {
    bool all = true;
    for (const auto& check : checks) all = check() && all;
    return all;
  };
}

// Runs `command` ("%1" standing for a document, made with `extension` when one is given) and
// finds the token it was given in the log.
std::function<bool()> Table::Starts(const std::wstring& command, const std::wstring& extension) {
  const std::wstring token = L"check" + std::to_wstring(++tokens_);
  return [=] {
    std::wstring document = std::wstring(kHome) + L"\\Docs\\" + token + extension;
    if (!extension.empty()) {
      MakeFolders(FolderOf(document));
      const HANDLE file =
          CreateFileW(document.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      CloseHandle(file);
    }
    std::wstring line = Expand(command);
    const size_t placeholder = line.find(L"%1");
    if (placeholder != std::wstring::npos)
      line.replace(placeholder, 2, document);
    else
      line += L" " + token;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        kHome, &startup, &process))
      return false;
    WaitForSingleObject(process.hProcess, 20000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return ReadLog().find(token) != std::wstring::npos;
  };
}

// Opens (or prints) a new document of `extension` through the shell, as a double click does.
std::function<bool()> Table::OpensThroughShell(const std::wstring& verb,
                                               const std::wstring& extension) {
  const std::wstring token = L"shell" + std::to_wstring(++tokens_);
  return [=] {
    const std::wstring document = std::wstring(kHome) + L"\\Docs\\" + token + extension;
    MakeFolders(FolderOf(document));
    CloseHandle(
        CreateFileW(document.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = verb.c_str();
    info.lpFile = document.c_str();
    info.nShow = SW_HIDE;
    if (!ShellExecuteExW(&info)) return false;
    if (info.hProcess) {
      WaitForSingleObject(info.hProcess, 20000);
      CloseHandle(info.hProcess);
    }
    return ReadLog().find(token) != std::wstring::npos;
  };
}

void Table::Uninstall(const std::wstring& program, State state, const std::wstring& key,
                      const std::wstring& command, DWORD type, bool wide) {
  const std::wstring path = kUninstall + key;
  Entry& entry = Add(program, L"uninstall entry " + key, state);
  Text(kHklm, path, L"DisplayName", program);
  Text(kHklm, path, L"Publisher", L"Lived-in Software");
  Text(kHklm, path, L"UninstallString", command, type);
  (void)wide;
  entry.signs.push_back({kHklm, path, std::nullopt});
  const bool msi = Upper(command).find(L"MSIEXEC") == 0;
  entry.works = msi ? All({KeyThere(kHklm, path),
                           [] {
                             wchar_t found[MAX_PATH];
                             return SearchPathW(nullptr, L"msiexec.exe", nullptr, MAX_PATH, found,
                                                nullptr) > 0;
                           }})
                    : All({KeyThere(kHklm, path),
                           state == State::Works ? Starts(command) : KeyThere(kHklm, path)});
}

void Table::Association(const std::wstring& program, State state, const std::wstring& extension,
                        const std::wstring& className, const std::wstring& open,
                        const std::wstring& print, DWORD type) {
  Entry& entry = Add(program, L"association " + extension, state);
  const std::wstring extensionKey = kClasses + extension;
  if (className.empty()) {
    // Registered by its own verb alone, no class.
    Text(kHklm, extensionKey + L"\\Shell", L"", L"");
    Text(kHklm, extensionKey + L"\\Shell\\Open", L"", L"");
    Text(kHklm, extensionKey + L"\\Shell\\Open\\command", L"", open, type);
    entry.signs.push_back({kHklm, L"Software\\CLASSES\\" + extension, std::nullopt});
  } else {
    Text(kHklm, extensionKey, L"", className);
    Text(kHklm, kClasses + className, L"", program + L" document");
    Text(kHklm, kClasses + className + L"\\Shell\\Open\\command", L"", open, type);
    if (!print.empty())
      Text(kHklm, kClasses + className + L"\\Shell\\Print\\command", L"", print, type);
    entry.signs.push_back({kHklm, L"Software\\CLASSES\\" + extension, std::nullopt});
    entry.signs.push_back({kHklm, L"Software\\CLASSES\\" + className, std::nullopt});
  }
  if (state != State::Works) {
    entry.works = KeyThere(kHklm, extensionKey);
    return;
  }
  // An extension registered by its own verb alone opens on Windows; Wine's shell finds no
  // program for it, so its command is run as the shell would run it.
  std::vector<std::function<bool()>> checks = {
      className.empty() ? All({KeyThere(kHklm, extensionKey + L"\\Shell\\Open\\command"),
                               Starts(open, extension)})
                        : OpensThroughShell(L"open", extension)};
  if (!print.empty()) checks.push_back(OpensThroughShell(L"print", extension));
  entry.works = All(checks);
}

void Table::Verb(const std::wstring& program, State state, const std::wstring& shellClass,
                 const std::wstring& verb, const std::wstring& command,
                 const std::wstring& carrier) {
  Entry& entry = Add(program, L"verb " + shellClass + L"\\" + verb, state);
  const std::wstring key = kClasses + shellClass + L"\\shell\\" + verb;
  if (!command.empty())
    Text(kHklm, key + L"\\command", L"", command);
  else if (!carrier.empty())
    Text(kHklm, key, carrier, L"{0A1B2C3D-0000-4000-8000-00000000C0DE}");
  else
    MakeKey(kHklm, key);
  entry.signs.push_back(
      {kHklm, L"Software\\CLASSES\\" + shellClass + L"\\shell\\" + verb, std::nullopt});
  entry.works = state == State::Works && !command.empty()
                    ? All({KeyThere(kHklm, key), Starts(command)})
                    : KeyThere(kHklm, key);
}

void Table::RunEntry(const std::wstring& program, State state, const std::wstring& name,
                     const std::wstring& command, bool wide) {
  (void)wide;
  Entry& entry = Add(program, L"Run entry " + name, state);
  Text(kHkcu, kRun, name, command);
  entry.signs.push_back({kHkcu, kRun, name});
  entry.works = state == State::Works ? All({ValueThere(kHkcu, kRun, name), Starts(command)})
                                      : ValueThere(kHkcu, kRun, name);
}

Table::Table(bool planting) : planting_(planting) {
#ifdef _WIN64
  otherView_ = KEY_WOW64_32KEY;
#else
  otherView_ = common::IsWow64() ? KEY_WOW64_64KEY : 0;
#endif
  wchar_t self[MAX_PATH] = {}, windows[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  GetWindowsDirectoryW(windows, MAX_PATH);
  self_ = self;
  windows_ = windows;
  programFiles_ = Variable(L"ProgramFiles");
  commonFiles_ = Variable(L"CommonProgramFiles");
  desktop_ = Special(CSIDL_DESKTOPDIRECTORY);
  programs_ = Special(CSIDL_COMMON_PROGRAMS);
  fonts_ = Special(CSIDL_FONTS);
  const std::wstring pf = programFiles_, tools = L"C:\\Tools";
  const State works = State::Works, stale = State::Stale, away = State::Unjudgeable;
  Folder(std::wstring(kHome) + L"\\Docs");
  Folder(L"C:\\Notes");
  File(L"C:\\Notes\\todo.txt", "milk\r\n");

  // Notely: a text editor installed the usual way, every registration in its quoted form, the
  // uninstall command in environment form.
  const std::wstring notely = pf + L"\\Notely";
  for (const wchar_t* exe : {L"\\notely.exe", L"\\uninst.exe"}) Program(notely + exe);
  File(notely + L"\\notely.hlp", "help");
  File(notely + L"\\notely.chm", "help");
  File(commonFiles_ + L"\\Notely\\nshared.dll", "dll");
  Uninstall(L"Notely", works, L"Notely", L"\"%ProgramFiles%\\Notely\\uninst.exe\" /S",
            REG_EXPAND_SZ);
  Text(kHklm, kUninstall + std::wstring(L"Notely"), L"DisplayIcon",
       L"%ProgramFiles%\\Notely\\notely.exe,0", REG_EXPAND_SZ);
  {
    Entry& e = Add(L"Notely", L"App Paths notely.exe", works);
    Text(kHklm, kAppPaths + std::wstring(L"notely.exe"), L"", notely + L"\\notely.exe");
    Text(kHklm, kAppPaths + std::wstring(L"notely.exe"), L"Path", notely);
    e.signs.push_back({kHklm, kAppPaths + std::wstring(L"notely.exe"), std::nullopt});
    e.works = All({KeyThere(kHklm, kAppPaths + std::wstring(L"notely.exe")),
                   Starts(notely + L"\\notely.exe")});
  }
  Association(L"Notely", works, L".ntly", L"Notely.Document",
              L"\"" + notely + L"\\notely.exe\" \"%1\"",
              L"\"" + notely + L"\\notely.exe\" /p \"%1\"");
  RunEntry(L"Notely", works, L"Notely Tray", L"\"" + notely + L"\\notely.exe\" /tray");
  {
    Entry& e = Add(L"Notely", L"settings", works);
    Text(kHkcu, L"Software\\Lived-in Software\\Notely", L"LastFile", L"C:\\Notes\\todo.txt");
    Text(kHkcu, L"Software\\Lived-in Software\\Notely\\Recent", L"1", L"C:\\Notes\\todo.txt");
    e.signs.push_back({kHkcu, L"Software\\Lived-in Software", std::nullopt});
    e.works = KeyThere(kHkcu, L"Software\\Lived-in Software\\Notely");
  }
  {
    Entry& e = Add(L"Notely", L"help files", works);
    Text(kHklm, kHelp, L"notely.hlp", notely + L"\\");
    Text(kHklm, kHtmlHelp, L"notely.chm", notely);
    e.signs = {{kHklm, kHelp, L"notely.hlp"}, {kHklm, kHtmlHelp, L"notely.chm"}};
    e.works = All({ValueThere(kHklm, kHelp, L"notely.hlp"), FileThere(notely + L"\\notely.hlp")});
  }
  {
    Entry& e = Add(L"Notely", L"shared DLL", works);
    Dword(kHklm, kSharedDlls, commonFiles_ + L"\\Notely\\nshared.dll", 1);
    e.signs = {{kHklm, kSharedDlls, commonFiles_ + L"\\Notely\\nshared.dll"}};
    e.works = ValueThere(kHklm, kSharedDlls, commonFiles_ + L"\\Notely\\nshared.dll");
  }
  {
    Entry& e = Add(L"Notely", L"shortcuts", works);
    Link(desktop_ + L"\\Notely.lnk", notely + L"\\notely.exe");
    Link(programs_ + L"\\Notely\\Notely.lnk", notely + L"\\notely.exe");
    e.signs = {{L"磁盘文件错误", desktop_ + L"\\Notely.lnk", std::nullopt},
               {L"磁盘文件错误", programs_ + L"\\Notely\\Notely.lnk", std::nullopt},
               {L"磁盘目录错误", programs_ + L"\\Notely", std::nullopt}};
    e.works = All(
        {FileThere(desktop_ + L"\\Notely.lnk"), FileThere(programs_ + L"\\Notely\\Notely.lnk")});
  }

  // PixView: unquoted commands in capitals, the print command in environment form, a
  // context-menu handler whose class is registered in the other registry view only.
  const std::wstring pix = pf + L"\\PixView";
  Program(pix + L"\\pixview.exe");
  Program(pix + L"\\uninst.exe");
  File(pix + L"\\pxshell.dll", "dll");
  Uninstall(L"PixView", works, L"PixView", L"%ProgramFiles%\\PixView\\uninst.exe", REG_EXPAND_SZ);
  Association(L"PixView", works, L".pxv", L"PixView.Image", Upper(pix) + L"\\PIXVIEW.EXE %1",
              L"%ProgramFiles%\\PixView\\pixview.exe /print \"%1\"", REG_EXPAND_SZ);
  {
    const std::wstring clsid = L"{6B1A2C3D-5E4F-4A1B-9C8D-7E6F5A4B3C2D}";
    Entry& e = Add(L"PixView", L"context-menu handler, class in the other view", works);
    const std::wstring handler =
        kClasses + std::wstring(L"*\\shellex\\ContextMenuHandlers\\PixView");
    Text(kHklm, handler, L"", clsid);
    Text(kHklm, kClasses + std::wstring(L"CLSID\\") + clsid + L"\\InprocServer32", L"",
         pix + L"\\pxshell.dll", REG_SZ, otherView_);
    e.signs = {
        {kHklm, L"Software\\CLASSES\\*\\shellex\\ContextMenuHandlers\\PixView", std::nullopt}};
    e.works = All({KeyThere(kHklm, handler),
                   KeyThere(kHklm, kClasses + std::wstring(L"CLSID\\") + clsid, otherView_)});
  }

  // ViewLib: an association run by rundll32, named in capitals, and an uninstall through it.
  const std::wstring viewlib = tools + L"\\ViewLib\\viewlib.dll";
  if (planting_) {
    MakeFolders(FolderOf(viewlib));
    CopyFileW((FolderOf(self_) + L"\\livedin_viewlib.dll").c_str(), viewlib.c_str(), FALSE);
  }
  Association(L"ViewLib", works, L".vlb", L"ViewLib.File",
              Upper(windows_) + L"\\SYSTEM32\\RUNDLL32.EXE " + Upper(viewlib) + L",View %1");
  Uninstall(L"ViewLib", works, L"ViewLib", L"rundll32.exe " + viewlib + L",Uninstall");

  // Tidy: batch and command scripts, as verbs of folders and of every file.
  File(tools + L"\\Tidy\\tidy.cmd", "@echo tidy %* >> C:\\LivedIn\\ran.log\r\n");
  File(tools + L"\\Tidy\\tidy.bat", "@echo tidyfile %* >> C:\\LivedIn\\ran.log\r\n");
  File(tools + L"\\Tidy\\remove.bat", "@echo remove %* >> C:\\LivedIn\\ran.log\r\n");
  Verb(L"Tidy", works, L"Directory", L"Tidy up", tools + L"\\Tidy\\tidy.cmd \"%1\"");
  Verb(L"Tidy", works, L"*", L"Tidy file", tools + L"\\Tidy\\tidy.bat \"%1\"");
  Uninstall(L"Tidy", works, L"Tidy", tools + L"\\Tidy\\remove.bat");

  // MemoPad: unquoted in a folder with a blank, arguments that hold a path, an extension
  // registered by its own open verb.
  const std::wstring memo = pf + L"\\MemoPad\\memo.exe";
  Program(memo);
  Program(pf + L"\\MemoPad\\unins000.exe");
  Uninstall(L"MemoPad", works, L"MemoPad_is1", pf + L"\\MemoPad\\unins000.exe /SILENT");
  RunEntry(L"MemoPad", works, L"MemoPad", memo + L" C:\\Notes\\todo.txt");
  Verb(L"MemoPad", works, L"*", L"Add to memo", memo + L" /add %1");
  Association(L"MemoPad", works, L".memo", L"", L"\"" + memo + L"\" \"%1\"");

  // Modern: verbs carried by DelegateExecute and ExplorerCommandHandler.
  Verb(L"Modern", works, L"Directory", L"ModernOpen", L"", L"DelegateExecute");
  Verb(L"Modern", works, L"*", L"ModernShare", L"", L"ExplorerCommandHandler");

  // FontPack: fonts by name in the Fonts folder and in environment form.
  File(fonts_ + L"\\livedsans.ttf", "font");
  File(windows_ + L"\\LivedIn\\livedmono.ttf", "font");
  Program(windows_ + L"\\LivedIn\\fontpack-uninst.exe");
  {
    Entry& e = Add(L"FontPack", L"fonts", works);
    Text(kHklm, kFonts, L"LivedIn Sans (TrueType)", L"livedsans.ttf");
    Text(kHklm, kFonts, L"LivedIn Mono (TrueType)", L"%SystemRoot%\\LivedIn\\livedmono.ttf");
    e.signs = {{kHklm, kFonts, L"LivedIn Sans (TrueType)"},
               {kHklm, kFonts, L"LivedIn Mono (TrueType)"}};
    e.works = All({ValueThere(kHklm, kFonts, L"LivedIn Sans (TrueType)"),
                   ValueThere(kHklm, kFonts, L"LivedIn Mono (TrueType)")});
  }
  Uninstall(L"FontPack", works, L"FontPack", L"%windir%\\LivedIn\\fontpack-uninst.exe",
            REG_EXPAND_SZ);

  // MsiApp: installed by Windows Installer, whose records name download and cache folders that
  // are gone on purpose.
  const std::wstring product = L"{1C2D3E4F-0000-4000-8000-0000000A11CE}";
  Uninstall(L"MsiApp", works, product, L"MsiExec.exe /X" + product);
  {
    Entry& e = Add(L"MsiApp", L"uninstall entry of one value", works);
    Text(kHklm, kUninstall + std::wstring(L"MsiApp.Patch"), L"UninstallString",
         L"MsiExec.exe /I" + product + L" MSIPATCHREMOVE=1");
    e.signs = {{kHklm, kUninstall + std::wstring(L"MsiApp.Patch"), std::nullopt}};
    e.works = KeyThere(kHklm, kUninstall + std::wstring(L"MsiApp.Patch"));
  }
  {
    Entry& e = Add(L"MsiApp", L"Windows Installer records", works);
    const std::wstring packed = L"F4E3D2C100000004800800000A0011EC";
    const std::vector<std::pair<std::wstring, std::wstring>> records = {
        {kHklm, L"Software\\Classes\\Installer\\Products\\" + packed + L"\\SourceList"},
        {kHkcu, L"Software\\Classes\\Installer\\Products\\" + packed + L"\\SourceList"},
        {kHkcu, L"Software\\Microsoft\\Installer\\Products\\" + packed + L"\\SourceList"},
        {kHklm,
         L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\"
         L"Products\\" +
             packed + L"\\InstallProperties"}};
    for (const auto& [root, key] : records) {
      Text(root, key, L"LastUsedSource", L"n;1;C:\\Downloads\\MsiApp\\");
      Text(root, key, L"LocalPackage", L"C:\\Windows\\Installer\\1a2b3c.msi");
      e.signs.push_back({root, key, std::nullopt});
      e.works = All({e.works, KeyThere(root, key)});
    }
  }

  // Portable: on a USB disk that is out (Q: is not there now) and a CD that is not in (D:).
  Uninstall(L"Portable", away, L"PortableSuite", L"Q:\\PortableApps\\uninst.exe");
  RunEntry(L"Portable", away, L"USB Sync", L"Q:\\Sync\\sync.exe /auto");
  Verb(L"Portable", away, L"*", L"Open with Portable", L"Q:\\PortableApps\\tool.exe \"%1\"");
  {
    Entry& e = Add(L"Portable", L"shortcuts to Q: and D:", away);
    Link(desktop_ + L"\\Portable Tool.lnk", L"Q:\\PortableApps\\tool.exe");
    Link(desktop_ + L"\\Setup from CD.lnk", L"D:\\Setup\\setup.exe");
    Text(kHklm, kHelp, L"portable.hlp", L"D:\\Help\\");
    e.signs = {{L"磁盘文件错误", desktop_ + L"\\Portable Tool.lnk", std::nullopt},
               {L"磁盘文件错误", desktop_ + L"\\Setup from CD.lnk", std::nullopt},
               {kHklm, kHelp, L"portable.hlp"}};
    e.works = All({FileThere(desktop_ + L"\\Portable Tool.lnk"),
                   FileThere(desktop_ + L"\\Setup from CD.lnk"),
                   ValueThere(kHklm, kHelp, L"portable.hlp")});
  }

  // A program whose folder's name the code page cannot hold, and a removed twin of it.
  const std::wstring thai = pf + L"\\\u0E01 Writer";
  Program(thai + L"\\writer.exe");
  Program(thai + L"\\uninst.exe");
  Uninstall(L"Thai Writer", works, L"ThaiWriter", L"\"" + thai + L"\\uninst.exe\" /S");
  RunEntry(L"Thai Writer", works, L"Thai Writer", L"\"" + thai + L"\\writer.exe\" /min");
  Association(L"Thai Writer", works, L".kwr", L"ThaiWriter.Doc",
              L"\"" + thai + L"\\writer.exe\" \"%1\"");
  const std::wstring thaiOld = pf + L"\\\u0E02 Old";
  Uninstall(L"Thai Old", away, L"ThaiOld", L"\"" + thaiOld + L"\\uninst.exe\" /S");
  RunEntry(L"Thai Old", away, L"Thai Old", L"\"" + thaiOld + L"\\old.exe\"");

  // Shortcuts to a folder that is there, to one that is gone (as Windows writes it, the
  // folder's attributes kept), to a shell object.
  {
    Entry& e = Add(L"Desktop", L"shortcuts to folders and shell objects", works);
    Link(desktop_ + L"\\Notes.lnk", L"C:\\Notes");
    Folder(L"C:\\Projects\\Old");
    Link(desktop_ + L"\\Old Projects.lnk", L"C:\\Projects\\Old", FILE_ATTRIBUTE_DIRECTORY);
    Gone(L"C:\\Projects\\Old");
    ShellObjectLink(desktop_ + L"\\Computer.lnk", CSIDL_DRIVES);
    e.signs = {{L"磁盘文件错误", desktop_ + L"\\Notes.lnk", std::nullopt},
               {L"磁盘文件错误", desktop_ + L"\\Old Projects.lnk", std::nullopt},
               {L"磁盘文件错误", desktop_ + L"\\Computer.lnk", std::nullopt}};
    e.works =
        All({FileThere(desktop_ + L"\\Notes.lnk"), FileThere(desktop_ + L"\\Old Projects.lnk"),
             FileThere(desktop_ + L"\\Computer.lnk")});
  }

  // OldGame, removed badly: its uninstaller deleted the files and left the rest.
  const std::wstring game = pf + L"\\OldGame";
  Uninstall(L"OldGame", stale, L"OldGame", L"\"" + game + L"\\unins000.exe\"");
  {
    Entry& e = Add(L"OldGame", L"App Paths oldgame.exe", stale);
    Text(kHklm, kAppPaths + std::wstring(L"oldgame.exe"), L"", game + L"\\oldgame.exe");
    e.signs = {{kHklm, kAppPaths + std::wstring(L"oldgame.exe"), std::nullopt}};
  }
  Association(L"OldGame", stale, L".ogsave", L"OldGame.Save",
              L"\"" + game + L"\\oldgame.exe\" \"%1\"");
  RunEntry(L"OldGame", stale, L"OldGame Updater", L"\"" + game + L"\\updater.exe\" /silent");
  {
    Entry& e = Add(L"OldGame", L"desktop shortcut", stale);
    Program(game + L"\\oldgame.exe");
    Link(desktop_ + L"\\Old Game.lnk", game + L"\\oldgame.exe");
    Gone(game + L"\\oldgame.exe");
    Gone(game);
    e.signs = {{L"磁盘文件错误", desktop_ + L"\\Old Game.lnk", std::nullopt}};
  }
  {
    Entry& e = Add(L"OldGame", L"empty Start-menu folder", stale);
    Folder(programs_ + L"\\Old Game");
    e.signs = {{L"磁盘目录错误", programs_ + L"\\Old Game", std::nullopt}};
  }
  for (const wchar_t* root : {kHkcu, kHklm}) {
    Entry& e = Add(L"OldGame", std::wstring(L"empty key below ") + root, stale);
    MakeKey(root, L"Software\\OldGame");
    e.signs = {{root, L"Software\\OldGame", std::nullopt}};
  }

  // OldViewer, removed badly: the stale twins of the working registrations above.
  const std::wstring viewer = pf + L"\\OldViewer";
  {
    Entry& e = Add(L"OldViewer", L"context-menu handler", stale);
    Text(kHklm, kClasses + std::wstring(L"Directory\\shellex\\ContextMenuHandlers\\OldViewer"), L"",
         L"{DEADBEEF-0000-4000-8000-00000000DEAD}");
    e.signs = {{kHklm, L"Software\\CLASSES\\Directory\\shellex\\ContextMenuHandlers\\OldViewer",
                std::nullopt}};
  }
  Verb(L"OldViewer", stale, L"*", L"View with OldViewer", Upper(viewer) + L"\\OLDVIEW.EXE %1");
  Verb(L"OldViewer", stale, L"Directory", L"Old tidy", tools + L"\\OldTidy\\tidy.cmd \"%1\"");
  Verb(L"OldViewer", stale, L"Directory", L"OldModern", L"");
  {
    Entry& e = Add(L"OldViewer", L"shared DLL", stale);
    Dword(kHklm, kSharedDlls, commonFiles_ + L"\\OldViewer\\ov.dll", 0);
    e.signs = {{kHklm, kSharedDlls, commonFiles_ + L"\\OldViewer\\ov.dll"}};
  }
  {
    Entry& e = Add(L"OldViewer", L"font", stale);
    Text(kHklm, kFonts, L"OldViewer Symbols (TrueType)", L"oldsym.ttf");
    e.signs = {{kHklm, kFonts, L"OldViewer Symbols (TrueType)"}};
  }
  {
    Entry& e = Add(L"OldViewer", L"help file", stale);
    Text(kHklm, kHelp, L"oldview.hlp", L"%ProgramFiles%\\OldViewer\\", REG_EXPAND_SZ);
    e.signs = {{kHklm, kHelp, L"oldview.hlp"}};
  }
  Uninstall(L"OldViewer", stale, L"OldViewer", L"\"%ProgramFiles%\\OldViewer\\uninst.exe\" /S",
            REG_EXPAND_SZ);
  Association(L"OldViewer", stale, L".ovw", L"", L"\"" + viewer + L"\\oldview.exe\" \"%1\"");
  Association(L"OldViewer", stale, L".olb", L"OldLib.File",
              L"C:\\GONE\\OLDLIB\\OLDVIEW.EXE " + Upper(viewlib) + L",View %1");
  RunEntry(L"OldViewer", stale, L"OldMemo", pf + L"\\OldMemo\\memo.exe C:\\Notes\\todo.txt");
  {
    Entry& e = Add(L"OldViewer", L"Start-menu order entry", stale);
    Dword(kHkcu, std::wstring(kMenuOrder) + L"\\Old Viewer", L"Order", 8);
    e.signs = {{kHkcu, std::wstring(kMenuOrder) + L"\\Old Viewer", std::nullopt}};
  }
}

// --- Judging a scan ------------------------------------------------------------------------------

struct Row {
  std::wstring item, location, keyName, description;
};

std::wstring UserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return L"";
  char buffer[256] = {};
  DWORD size = 0;
  wchar_t* sid = nullptr;
  std::wstring text;
  if (GetTokenInformation(token, TokenUser, buffer, sizeof(buffer), &size)) {
    using Convert = BOOL(WINAPI*)(PSID, LPWSTR*);
    const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"advapi32.dll"), "ConvertSidToStringSidW")));
    if (convert && convert(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid)) {
      text = sid;
      LocalFree(sid);
    }
  }
  CloseHandle(token);
  return text;
}

// A row of HKEY_USERS below the user's SID names the same as one of HKEY_CURRENT_USER.
Row AsCurrentUser(Row row, const std::wstring& sid) {
  if (row.item != L"HKEY_USERS" || sid.empty()) return row;
  const std::wstring prefix = sid + L"\\", classes = sid + L"_Classes\\";
  if (Same(row.location.substr(0, prefix.size()), prefix)) {
    row.item = kHkcu;
    row.location = row.location.substr(prefix.size());
  } else if (Same(row.location.substr(0, classes.size()), classes)) {
    row.item = kHkcu;
    row.location = L"Software\\Classes\\" + row.location.substr(classes.size());
  }
  return row;
}

bool Names(const Row& row, const Sign& sign) {
  if (row.item != sign.root) return false;
  if (sign.value) {
    const std::wstring name = row.keyName == L"@D_e_f_a_u_l_t" ? L"" : row.keyName;
    return Same(row.location, sign.location) && Same(name, *sign.value);
  }
  return Same(row.location, sign.location) ||
         Same(row.location.substr(0, sign.location.size() + 1), sign.location + L"\\");
}

std::vector<Row> ReadRows(const std::wstring& file) {
  std::ifstream in(file.c_str(), std::ios::binary);
  std::vector<Row> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::vector<std::wstring> parts;
    std::stringstream fields(line);
    std::string field;
    while (std::getline(fields, field, '\t')) parts.push_back(FromUtf8(field));
    parts.resize(4);
    rows.push_back({parts[0], parts[1], parts[2], parts[3]});
  }
  return rows;
}

std::wstring Text(const Row& row) {
  return row.item + L" | " + row.location + L" | " + row.keyName + L" | " + row.description;
}

int Judge(const std::wstring& rowsFile) {
  const Table table(false);
  const std::wstring sid = UserSid();
  const std::vector<Row> rows = ReadRows(rowsFile);
  std::vector<int> found(table.Entries().size(), 0);
  int stale = 0, falseFindings = 0, other = 0;
  for (const Row& original : rows) {
    const Row row = AsCurrentUser(original, sid);
    const Entry* named = nullptr;
    size_t index = 0;
    for (size_t i = 0; i < table.Entries().size() && !named; ++i)
      for (const Sign& sign : table.Entries()[i].signs)
        if (Names(row, sign)) {
          named = &table.Entries()[i];
          index = i;
          break;
        }
    if (!named) {
      ++other;
      Say(L"other   " + Text(original));
    } else if (named->state == State::Stale) {
      ++stale;
      ++found[index];
    } else {
      ++falseFindings;
      Say(L"FALSE   " + Text(original) + L"   (" + named->program + L": " + named->what + L")");
    }
  }
  int planted = 0, foundEntries = 0;
  for (size_t i = 0; i < table.Entries().size(); ++i) {
    const Entry& entry = table.Entries()[i];
    if (entry.state != State::Stale) continue;
    ++planted;
    if (found[i] > 0)
      ++foundEntries;
    else
      Say(L"MISSED  " + entry.program + L": " + entry.what);
  }
  std::printf("\nrows reported                                  %5zu\n", rows.size());
  std::printf("  naming planted stale entries                 %5d\n", stale);
  std::printf("  naming planted entries that work or cannot\n");
  std::printf("  be judged (false findings)                   %5d\n", falseFindings);
  std::printf("  naming nothing planted (the prefix's own)    %5d\n", other);
  std::printf("planted stale entries found                    %5d of %d\n", foundEntries, planted);
  return falseFindings == 0 && foundEntries == planted ? 0 : 1;
}

int Works() {
  const Table table(false);
  int working = 0, works = 0, away = 0, there = 0;
  for (const Entry& entry : table.Entries()) {
    if (entry.state == State::Stale) continue;
    const bool ok = entry.works();
    if (entry.state == State::Works) {
      ++working;
      works += ok ? 1 : 0;
    } else {
      ++away;
      there += ok ? 1 : 0;
    }
    Say((ok ? L"ok      " : L"BROKEN  ") + entry.program + L": " + entry.what);
  }
  std::printf("\nplanted working entries that still work       %d of %d\n", works, working);
  std::printf("planted entries that cannot be judged, kept   %d of %d\n", there, away);
  return works == working && there == away ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring what = argc > 1 ? argv[1] : L"";
  if (FAILED(CoInitialize(nullptr))) return 1;
  int result = 2;
  if (what == L"plant") {
    const Table table(true);
    std::printf("planted %zu entries\n", table.Entries().size());
    result = 0;
  } else if (what == L"judge" && argc > 2) {
    result = Judge(argv[2]);
  } else if (what == L"works") {
    result = Works();
  } else {
    std::fprintf(stderr, "usage: livedin plant | judge ROWS | works\n");
  }
  CoUninitialize();
  return result;
}
