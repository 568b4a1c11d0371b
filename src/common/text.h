#pragma once
// Text conversion between the programs' wide strings and the system's ANSI code page (936 on
// the target machines), used at every platform call that takes ANSI text or a byte length.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace common {

// Characters that the code page cannot hold become '?'.
std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view text);

// Drops a lead byte left alone at the end of a cut ANSI text (half of a two-byte character).
void TrimIncompleteAnsi(std::string& bytes);

// Length of the text in bytes of the ANSI code page.
int AnsiLength(std::wstring_view text);

// A whole text as a signed 32-bit decimal integer: leading blanks, a sign, then decimal digits
// only; none for anything else or a number out of range.
std::optional<int> ParseDecimal(std::wstring_view text);
// Reads a text whose length is not known beforehand: `read(buffer, size)` copies at most
// size - 1 characters and a NUL and returns how many it copied. The buffer grows until the text
// fits, so no text is ever cut. The one reader of texts held by windows, controls and menus.
std::wstring ReadText(const std::function<int(wchar_t* buffer, int size)>& read,
                      int firstSize = 64);

// Signed 32-bit decimal, the form in which window handles are written as text.
std::wstring HandleToText(const void* handle);
void* TextToHandle(std::wstring_view text);

}  // namespace common
