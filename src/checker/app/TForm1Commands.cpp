// Commands of the main window: repair, registry backup and restore, the repair history (each
// wired to its buttons, menu items and shortcut keys, and doing nothing until its module is
// there), help, contact and about.
#include "checker/app/TForm1.h"

#include <shellapi.h>

#include "common/MakerSite.h"
#include "common/text.h"

namespace {

constexpr wchar_t kMainTopic[] = L"Topic_17.htm";
constexpr wchar_t kAboutTitle[] = L"Sanivo Version 3.4.5.408";

std::wstring AboutNotice() { return L"Lumora软件出品  " + MakerSite::HomePage(); }

}  // namespace

// Repair of the selected row.
void TForm1::FlatButton2Click() {}

// Repair of every row.
void TForm1::FlatButton3Click() {}

// Registry backup.
void TForm1::ToolButton4Click() {}

// Registry restore.
void TForm1::ToolButton7Click() {}

// The repair history window.
void TForm1::ToolButton9Click() {}

// Clearing the repair history.
void TForm1::ClearRepairHistory1Click() {}

// The help file's main page, F1.
void TForm1::Help1Click() {
  if (helpViewer_) helpViewer_->ShowTopic(kMainTopic);
}

// E-mail to the maker.
void TForm1::N7Click() {
  if (services_.openAddress) services_.openAddress(Handle(), MakerSite::ContactMail(L"Sanivo"));
}

// The maker's home page.
void TForm1::N8Click() {
  if (services_.openAddress) services_.openAddress(Handle(), MakerSite::HomePage());
}

// The system's about box, with the program's icon.
void TForm1::Windows1Click() {
  const BusySection busy(*this);  // the box runs a modal loop of its own
  ShellAboutA(Handle(), common::ToAnsi(kAboutTitle).c_str(), common::ToAnsi(AboutNotice()).c_str(),
              LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
}
