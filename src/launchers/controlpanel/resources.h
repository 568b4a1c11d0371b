#pragma once
// Resource numbers of Palomid (shared by the program's code and its resource script).
#define PALOMID_ICON 1
