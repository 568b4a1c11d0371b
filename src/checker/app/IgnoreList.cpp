#include "checker/app/IgnoreList.h"

#include <windows.h>

#include <algorithm>

#include "checker/app/Repair.h"
#include "common/profile.h"
#include "common/text.h"

namespace {

constexpr wchar_t kSeparator = L'|';
constexpr wchar_t kEscape = L'%';
constexpr int kFieldCount = 4;

std::wstring Upper(std::wstring_view text) {
  std::wstring upper(text);
  if (!upper.empty()) CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  return upper;
}

bool IsDiskRow(const ScanResultRow& row) {
  return row.Item == kShortcutFileItem || row.Item == kEmptyFolderItem;
}

// What names a finding, in one text: list view texts hold no zeros, so the fields stay apart.
std::wstring FindingOf(const ScanResultRow& row) {
  std::wstring finding = Upper(row.Item);
  finding += L'\0';
  finding += Upper(row.Location);
  finding += L'\0';
  if (!IsDiskRow(row)) finding += Upper(row.KeyName);
  return finding;
}

bool FitsCodePage(const ScanResultRow& row) {
  for (const std::wstring* text : {&row.Item, &row.Location, &row.KeyName, &row.Description})
    if (common::FromAnsi(common::ToAnsi(*text)) != *text) return false;
  return true;
}

void AppendEscaped(std::wstring& out, wchar_t c) {
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  out += kEscape;
  out += kHex[(c >> 4) & 0xF];
  out += kHex[c & 0xF];
}

// The profile functions trim blanks from both ends of a value and take a pair of quotes round it
// away; a line break or a zero would end it.
bool NeedsEscape(wchar_t c, bool atAnEnd) {
  if (c == kEscape || c == kSeparator || c < 0x20 || c == 0x7F) return true;
  return atAnEnd && (c == L' ' || c == L'"' || c == L'\'');
}

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  return -1;
}

std::wstring Unescaped(std::wstring_view text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    const int high = text[i] == kEscape && i + 2 < text.size() ? HexDigit(text[i + 1]) : -1;
    const int low = high >= 0 ? HexDigit(text[i + 2]) : -1;
    if (low < 0) {
      out += text[i];  // a "%" of a value written by hand stays what it is
      continue;
    }
    out += static_cast<wchar_t>(high * 16 + low);
    i += 2;
  }
  return out;
}

// The whole of a value, however long.
std::wstring ReadWholeValue(const std::wstring& path, const std::wstring& key) {
  for (int size = 1024;; size *= 4) {
    const common::ProfileRead read =
        common::ReadProfileText(path, IgnoreList::kSection, key, L"", size);
    if (read.length < size - 1 || size >= (1 << 22)) return read.text;
  }
}

}  // namespace

bool SameFinding(const ScanResultRow& a, const ScanResultRow& b) {
  return FindingOf(a) == FindingOf(b);
}

std::wstring EncodeIgnoreEntry(const ScanResultRow& row) {
  std::wstring value;
  const std::wstring* fields[kFieldCount] = {&row.Item, &row.Location, &row.KeyName,
                                             &row.Description};
  for (int f = 0; f < kFieldCount; ++f) {
    if (f > 0) value += kSeparator;
    const std::wstring& text = *fields[f];
    for (size_t i = 0; i < text.size(); ++i) {
      const bool atAnEnd = (f == 0 && i == 0) || (f == kFieldCount - 1 && i + 1 == text.size());
      if (NeedsEscape(text[i], atAnEnd))
        AppendEscaped(value, text[i]);
      else
        value += text[i];
    }
  }
  return value;
}

std::optional<ScanResultRow> DecodeIgnoreEntry(std::wstring_view value) {
  std::wstring fields[kFieldCount];
  for (int f = 0; f < kFieldCount; ++f) {
    // The description takes the rest: a "|" in it written by hand is part of it.
    const size_t end = f + 1 < kFieldCount ? value.find(kSeparator) : std::wstring_view::npos;
    fields[f] = Unescaped(value.substr(0, end));
    if (end == std::wstring_view::npos) break;
    value.remove_prefix(end + 1);
  }
  if (fields[0].empty()) return std::nullopt;
  ScanResultRow row;
  row.Item = fields[0];
  row.Location = fields[1];
  row.KeyName = fields[2];
  row.Description = fields[3];
  return row;
}

void IgnoreList::Load(const std::wstring& path) {
  path_ = path;
  entries_.clear();
  nextKey_ = 1;
  for (const std::wstring& key : common::ReadProfileKeyNames(path, kSection)) {
    if (const std::optional<int> number = common::ParseDecimal(key); number && *number > 0)
      nextKey_ = std::max(nextKey_, static_cast<unsigned>(*number) + 1);
    if (std::optional<ScanResultRow> row = DecodeIgnoreEntry(ReadWholeValue(path, key)))
      entries_.push_back({key, *row});
  }
  Rebuild();
}

std::vector<ScanResultRow> IgnoreList::Rows() const {
  std::vector<ScanResultRow> rows;
  for (const Entry& entry : entries_) rows.push_back(entry.row);
  return rows;
}

bool IgnoreList::Matches(const ScanResultRow& row) const {
  return !findings_.empty() &&
         std::binary_search(findings_.begin(), findings_.end(), FindingOf(row));
}

IgnoreList::Change IgnoreList::Add(const ScanResultRow& row) {
  if (Matches(row)) return Change::Done;
  if (!FitsCodePage(row)) return Change::NotInCodePage;
  const std::wstring key = std::to_wstring(nextKey_);
  const bool written = common::WriteProfileText(path_, kSection, key, EncodeIgnoreEntry(row));
  common::FlushProfile(path_);
  if (!written) return Change::NotWritten;
  ++nextKey_;
  ScanResultRow kept = row;
  kept.ImageIndex = 0;  // the file keeps the texts only
  entries_.push_back({key, kept});
  Rebuild();
  return Change::Done;
}

IgnoreList::Change IgnoreList::Remove(const ScanResultRow& row) {
  const std::wstring finding = FindingOf(row);
  bool written = true, removed = false;
  std::erase_if(entries_, [&](const Entry& entry) {
    if (FindingOf(entry.row) != finding) return false;
    const bool deleted = common::DeleteProfileEntry(path_, kSection, entry.key);
    written = written && deleted;
    removed = removed || deleted;
    return deleted;
  });
  if (removed && entries_.empty() && written) written = common::DeleteProfileEntry(path_, kSection);
  common::FlushProfile(path_);
  Rebuild();
  return written ? Change::Done : Change::NotWritten;
}

void IgnoreList::Rebuild() {
  findings_.clear();
  for (const Entry& entry : entries_) findings_.push_back(FindingOf(entry.row));
  std::sort(findings_.begin(), findings_.end());
}
