#pragma once
// The search services of the web search bar: each menu item's query address is a fixed prefix
// (the plain web scheme, the service's host and its path and query key) followed directly by the
// query as typed. The host names are kept here and nowhere else.
#include <windows.h>

#include <array>
#include <string>

struct SearchService {
  const wchar_t* name;        // the menu item's name
  const wchar_t* caption;     // the menu item's caption
  const wchar_t* shortcut;    // as the menu shows it
  BYTE keyFlags;              // accelerator: FVIRTKEY plus FCONTROL where needed
  WORD key;
  const wchar_t* host;
  const wchar_t* pathAndKey;
};

// In menu order: 软件 (华军), 网页 (Google, Yahoo, 百度), 影视 (狗狗).
const std::array<SearchService, 5>& SearchServices();

// The address opened for a query: prefix and query, unchanged (no trimming, no encoding).
std::wstring SearchAddress(const SearchService& service, const std::wstring& query);
