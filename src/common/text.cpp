#include "common/text.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <vector>

namespace common {

std::string ToAnsi(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                      nullptr, nullptr);
  return result;
}

std::wstring FromAnsi(std::string_view text) {
  if (text.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring result(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
  return result;
}

std::optional<int> ParseDecimal(std::wstring_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == L' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  if (i == text.size()) return std::nullopt;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
    value = value * 10 + (text[i] - L'0');
    if (value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < INT_MIN || value > INT_MAX) return std::nullopt;
  return static_cast<int>(value);
}

void TrimIncompleteAnsi(std::string& bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    if (IsDBCSLeadByte(static_cast<BYTE>(bytes[i]))) {
      if (i + 1 >= bytes.size()) {
        bytes.resize(i);
        return;
      }
      i += 2;
    } else {
      ++i;
    }
  }
}

int AnsiLength(std::wstring_view text) { return static_cast<int>(ToAnsi(text).size()); }

std::wstring ReadText(const std::function<int(wchar_t* buffer, int size)>& read, int firstSize) {
  constexpr int kLargest = 1 << 24;
  for (int size = firstSize > 1 ? firstSize : 2;; size *= 2) {
    std::vector<wchar_t> buffer(static_cast<size_t>(size), L'\0');
    const int copied = std::clamp(read(buffer.data(), size), 0, size - 1);
    // A text that filled the buffer may have been cut; one that did not is whole.
    if (copied < size - 1 || size >= kLargest)
      return std::wstring(buffer.data(), static_cast<size_t>(copied));
  }
}

std::wstring HandleToText(const void* handle) {
  // Handles fit in 32 bits on both builds; they are written sign-extended, as a Long would be.
  const auto value = static_cast<int32_t>(reinterpret_cast<uintptr_t>(handle));
  return std::to_wstring(value);
}

void* TextToHandle(std::wstring_view text) {
  const std::wstring copy(text);
  const long long value = std::wcstoll(copy.c_str(), nullptr, 10);
  return reinterpret_cast<void*>(static_cast<intptr_t>(static_cast<int32_t>(value)));
}

}  // namespace common
