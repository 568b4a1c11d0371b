#pragma once
// Resource numbers of Prindle (shared by the program's code and its resource script).
#define PRINDLE_ICON 1
#define PRINDLE_BACKGROUND 101
