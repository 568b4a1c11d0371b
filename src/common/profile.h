#pragma once
// Profile (INI) file access through the platform's ANSI profile functions. Nothing is cached:
// every call opens and closes the file.
#include <string>
#include <vector>

namespace common {

struct ProfileRead {
  int length = 0;     // what GetPrivateProfileStringA returned (bytes copied)
  std::wstring text;  // the bytes copied, up to the first NUL, converted from ANSI
};

// Reads with the given default into a buffer of bufferSize bytes.
ProfileRead ReadProfileText(const std::wstring& path, const std::wstring& section,
                            const std::wstring& key, const std::wstring& defaultText,
                            int bufferSize);

// Writes one value; returns false when the platform refused (read-only file or folder).
bool WriteProfileText(const std::wstring& path, const std::wstring& section,
                      const std::wstring& key, const std::wstring& value);

// Deletes one key, or the whole section when `key` is empty; false when the platform refused.
bool DeleteProfileEntry(const std::wstring& path, const std::wstring& section,
                        const std::wstring& key = {});

// Writes out what the platform may still hold of the file in its cache.
void FlushProfile(const std::wstring& path);

// Key names of a section, in file order (empty when the file or section is missing).
std::vector<std::wstring> ReadProfileKeyNames(const std::wstring& path,
                                              const std::wstring& section);

}  // namespace common
