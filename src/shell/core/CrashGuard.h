#pragma once
// If the shell dies of an unhandled error, a user must never be left without a taskbar: the
// guard gives the Windows taskbar and the work area back before the process goes, removes the
// shell's keyboard hook and shows minimised windows again as the system showed them before.

#include <functional>

namespace CrashGuard {

// Installs the process-wide handlers (unhandled exceptions and std::terminate).
void Install();

// From now on a crash restores the Windows taskbar and a work area without the shell's strip,
// minus `trayHeight` pixels for the Windows taskbar. Disarm() after a clean give-back.
void Arm(double trayHeight);
void Disarm();
bool Armed();

// Runs first when a crash gives the desktop back (from whatever thread crashed); none: nothing.
void SetBeforeGiveBack(std::function<void()> action);

// What a crash runs; callable directly by tests.
void GiveBackDesktop();

}  // namespace CrashGuard
