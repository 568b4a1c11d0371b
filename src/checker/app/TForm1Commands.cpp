// Commands of the main window whose modules are not built yet: repair, registry backup and
// restore, the repair history, help, contact and about. Each is wired to its buttons, menu items
// and shortcut keys and does nothing until its module is there.
#include "checker/app/TForm1.h"

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

// The help file.
void TForm1::Help1Click() {}

// E-mail to the maker.
void TForm1::N7Click() {}

// The maker's home page.
void TForm1::N8Click() {}

// The about box.
void TForm1::Windows1Click() {}
