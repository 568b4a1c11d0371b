#pragma once
// The maker's web site, opened by the start menu's header entry (home page) and by its
// feedback, help and update entries (guestbook page). The host is kept here and nowhere else.
#include <string>

namespace MakerSite {

inline constexpr wchar_t kHost[] = L"www.lumorasoft.cn";

// The root of the site.
inline std::wstring HomePage() { return std::wstring(L"http://") + kHost + L"/"; }

inline std::wstring GuestbookPage() {
  return std::wstring(L"http://") + kHost + L"/gbook/index.asp?username=ZephraShell";
}

}  // namespace MakerSite
