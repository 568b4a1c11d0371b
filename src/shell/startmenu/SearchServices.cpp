#include "shell/startmenu/SearchServices.h"

const std::array<SearchService, 5>& SearchServices() {
  // 华军软件园 (onlinedown.net), Google, Yahoo, 百度 and 狗狗 (gougou.com, the film search; its
  // site no longer answers, the address stays as the service had it).
  static const std::array<SearchService, 5> services = {{
      {L"hua", L"华军", L"Ctrl+H", FVIRTKEY | FCONTROL, 'H', L"www.onlinedown.net",
       L"/search.asp?keyword="},
      {L"google", L"Google", L"F1", FVIRTKEY, VK_F1, L"www.google.com", L"/search?q="},
      {L"yahoo", L"Yahoo", L"F2", FVIRTKEY, VK_F2, L"search.yahoo.com", L"/search/cn?p="},
      {L"baidu", L"百度", L"F3", FVIRTKEY, VK_F3, L"www.baidu.com", L"/baidu?wd="},
      {L"ggys", L"狗狗", L"F4", FVIRTKEY, VK_F4, L"www.gougou.com", L"/search?search="},
  }};
  return services;
}

std::wstring SearchAddress(const SearchService& service, const std::wstring& query) {
  return std::wstring(L"http://") + service.host + service.pathAndKey + query;
}
