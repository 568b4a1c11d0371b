#pragma once
// The maker's addresses: the web site that the shell's start menu opens (home page, guestbook)
// and that the checker's help menu opens, and the checker's contact mail. The host is kept here
// and nowhere else.
#include <string>

namespace MakerSite {

inline constexpr wchar_t kHost[] = L"www.lumorasoft.cn";
inline constexpr wchar_t kMailbox[] = L"support@lumorasoft.cn";

// The root of the site.
inline std::wstring HomePage() { return std::wstring(L"http://") + kHost + L"/"; }

inline std::wstring GuestbookPage() {
  return std::wstring(L"http://") + kHost + L"/gbook/index.asp?username=ZephraShell";
}

// A mail to the maker about `product`, with the product as its subject.
inline std::wstring ContactMail(const std::wstring& product) {
  return std::wstring(L"mailto:") + kMailbox + L"?subject=" + product;
}

}  // namespace MakerSite
