// Fuzz test of the checker's pure text parsers, built natively (not for Windows) with
// AddressSanitizer and UndefinedBehaviorSanitizer by scripts/fuzz.sh. Every parser gets random
// texts and mutations of texts that reach its rules; a crash, a read past the end or undefined
// behaviour stops the run with the sanitizer's report, a call that takes too long or an output
// that breaks a parser's promise stops it with the input that did it.
//
//   scripts/fuzz.sh [inputs] [seed]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "checker/scanners/PathRules.h"
#include "checker/scanners/UninstallCommand.h"

namespace {

using Clock = std::chrono::steady_clock;

// A parser under test: runs on one text and returns false when its output breaks a promise.
struct Parser {
  const char* name;
  std::function<bool(const std::wstring& text, const FileQueries& files)> run;
};

const std::vector<Parser>& Parsers() {
  static const std::vector<Parser> parsers = {
      {"IsBadPath",
       [](const std::wstring& text, const FileQueries& files) {
         IsBadPath(text, L"C:\\Windows", files);
         IsBadPath(text, L"", files);
         return true;
       }},
      {"IsBadUninstallPath",
       [](const std::wstring& text, const FileQueries& files) {
         IsBadUninstallPath(text, files);
         return true;
       }},
      {"ExtractExePath",
       [](const std::wstring& text, const FileQueries&) {
         // It only ever deletes characters.
         return ExtractExePath(text).size() <= text.size();
       }},
      {"ProgramCandidates",
       [](const std::wstring& text, const FileQueries&) {
         // Each is a leading part of the text or of its quoted part, ".exe" added at most.
         for (const std::wstring& candidate : ProgramCandidates(text))
           if (candidate.empty() || candidate.size() > text.size() + 4) return false;
         return true;
       }},
      {"CommandProgramMissing",
       [](const std::wstring& text, const FileQueries& files) {
         CommandProgramMissing(text, files);
         HoldsVariable(text);
         // Whatever the expansion makes, a form never holds a variable.
         for (const std::wstring& form : ExpandedForms(text, files))
           if (HoldsVariable(form)) return false;
         return true;
       }},
      {"TrimUninstallCommand",
       [](const std::wstring& text, const FileQueries&) {
         // It only deletes characters, and leaves no quote and no doubled backslash behind.
         const auto program = TrimUninstallCommand(text);
         return !program ||
                (program->size() <= text.size() && program->find(L'"') == std::wstring::npos &&
                 program->find(L"\\\\") == std::wstring::npos);
       }},
  };
  return parsers;
}

// Texts that reach deep into the rules; mutations of them find the corners.
const std::vector<std::wstring> kSeeds = {
    L"C:\\Program Files\\App\\app.exe /s",
    L"\"C:\\Program Files\\App\\app.exe\" \"%1\"",
    L"C:\\App\\app.exe\"\\",
    L"C:\\x.y\\ab.cd \\z",
    L"C:\\WINDOWS\\system32\\shell32.dll,-4",
    L"c:\\\\windows\\\\\\notepad.exe %1",
    L"@D:\\a.b.c.d e.f\\g",
    L"C:\\APP\\APP.EXE -X ,1",
    L"%SystemRoot%\\system32\\rundll32.exe shell32.dll,Control_RunDLL",
    L"\\\\server\\share\\x.exe",
    L"E:\\setup.exe",
    L"C:\\",
    L".exe ",
    L"\"\"\"",
    L"\"C:\\Program Files\\App\\unins000.exe\" /SILENT",
    L"C:\\abc.def -x\\y.EXE -u",
    L"RunDll32.exe C:\\x.dll,Remove",
    L"\"%ProgramFiles%\\App\\uninst.exe\" /S",
    L"C:\\WINDOWS\\SYSTEM32\\RUNDLL32.EXE C:\\X\\FOO.DLL,View %1",
    L"C:\\Tools\\tidy.cmd \"%1\" C:\\Notes\\todo.txt",
    L"%SystemRoot%\\%Lang%\\x.dll",
};

// Characters the rules look at, and some they should never trip over.
const std::wstring kAlphabet = L"CDEZcz:\\/ .\"'^-%!|[=,*?<>;(exe dllEXE@\t\r\n";

std::wstring RandomText(std::mt19937& rng) {
  std::uniform_int_distribution<int> lengthOf(0, rng() % 16 == 0 ? 4000 : 64);
  const int length = lengthOf(rng);
  std::wstring text;
  text.reserve(static_cast<size_t>(length));
  for (int i = 0; i < length; ++i) {
    if (rng() % 8 == 0)
      text.push_back(static_cast<wchar_t>(rng() % 0x10000));  // any UTF-16 unit, NUL included
    else
      text.push_back(kAlphabet[rng() % kAlphabet.size()]);
  }
  return text;
}

std::wstring Mutated(std::mt19937& rng) {
  std::wstring text = kSeeds[rng() % kSeeds.size()];
  const int edits = 1 + static_cast<int>(rng() % 6);
  for (int e = 0; e < edits; ++e) {
    const size_t at = text.empty() ? 0 : rng() % (text.size() + 1);
    switch (rng() % 5) {
      case 0:
        text.insert(at, 1, kAlphabet[rng() % kAlphabet.size()]);
        break;
      case 1:
        if (at < text.size()) text.erase(at, 1 + rng() % 4);
        break;
      case 2:
        if (at < text.size()) text[at] = static_cast<wchar_t>(rng() % 0x10000);
        break;
      case 3:  // repeat a piece, now and then many times over
        if (at < text.size()) {
          const std::wstring piece = text.substr(at, 1 + rng() % 8);
          const int times = rng() % 32 == 0 ? 5000 : 1 + static_cast<int>(rng() % 4);
          for (int t = 0; t < times; ++t) text.insert(at, piece);
        }
        break;
      default:
        text = text.substr(0, at);
        break;
    }
  }
  return text;
}

// A made-up machine that answers from the text itself, so that every branch is reached and the
// same text always gets the same answers.
FileQueries MadeUpMachine() {
  FileQueries files;
  const auto hash = [](const std::wstring& text) { return std::hash<std::wstring>()(text); };
  files.DriveType = [](const std::wstring& root) -> unsigned {
    return root.empty() ? 1 : (root[0] % 3 == 0 ? 5 : kDriveFixed);
  };
  files.LogicalDrives = [] { return 0x0Cul; };
  files.PathExists = [hash](const std::wstring& path) { return hash(path) % 4 == 0; };
  files.FileExists = [hash](const std::wstring& path) { return hash(path) % 5 == 0; };
  // Expands every "%" + letter to a folder, now and then to two, now and then not at all.
  files.Expand = [hash](const std::wstring& text) {
    std::vector<std::wstring> forms;
    const size_t count = hash(text) % 3;
    for (size_t f = 0; f < count + 1; ++f) {
      std::wstring form;
      for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'%' && count != 2 && i + 1 < text.size() && text[i + 1] != L'%') {
          const size_t end = text.find(L'%', i + 1);
          if (end != std::wstring::npos) {
            form += f == 0 ? L"C:\\Program Files" : L"D:\\Apps";
            i = end;
            continue;
          }
        }
        form.push_back(text[i]);
      }
      forms.push_back(form);
    }
    return forms;
  };
  return files;
}

void Print(const std::wstring& text) {
  std::fputs("input (UTF-16 units, hex):", stderr);
  for (size_t i = 0; i < text.size() && i < 200; ++i)
    std::fprintf(stderr, " %04x", static_cast<unsigned>(text[i]) & 0xFFFF);
  std::fputs(text.size() > 200 ? " ...\n" : "\n", stderr);
}

}  // namespace

int main(int argc, char** argv) {
  const long inputs = argc > 1 ? std::atol(argv[1]) : 1000000;
  const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atol(argv[2])) : 12345u;
  constexpr auto kSlowCall = std::chrono::seconds(2);
  std::mt19937 rng(seed);
  const FileQueries files = MadeUpMachine();
  std::vector<Clock::duration> slowest(Parsers().size());

  for (long i = 0; i < inputs; ++i) {
    const std::wstring text = rng() % 2 == 0 ? RandomText(rng) : Mutated(rng);
    for (size_t p = 0; p < Parsers().size(); ++p) {
      const auto start = Clock::now();
      const bool kept = Parsers()[p].run(text, files);
      const auto spent = Clock::now() - start;
      if (spent > slowest[p]) slowest[p] = spent;
      if (!kept || spent > kSlowCall) {
        std::fprintf(stderr, "%s: %s on input %ld (seed %u)\n", Parsers()[p].name,
                     kept ? "too slow" : "broke its promise", i, seed);
        Print(text);
        return 1;
      }
    }
  }
  std::printf("%ld inputs, seed %u, no fault\n", inputs, seed);
  for (size_t p = 0; p < Parsers().size(); ++p)
    std::printf("  %-20s slowest call %.3f ms\n", Parsers()[p].name,
                std::chrono::duration<double, std::milli>(slowest[p]).count());
  return 0;
}
