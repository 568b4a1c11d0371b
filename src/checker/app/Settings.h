#pragma once
// Set.ini beside the program: the window's size and state, and the backup folder name.
//   [Other]  BakPath                      read only; missing or empty means "Backup"
//   [Sanivo] Window = "Max" | "Normal", Top, Height, Width (pixels, decimal)
#include <optional>
#include <string>

struct WindowSettings {
  bool maximised = false;  // "Window" = "Max": the design place, maximised
  // Values that parse as decimal integers; the others keep the design values.
  std::optional<int> top, height, width;
};

std::wstring SettingsPath(const std::wstring& programDirectory);

WindowSettings ReadWindowSettings(const std::wstring& path);
std::wstring ReadBakPath(const std::wstring& path);

// Writes section "Sanivo" and flushes the file.
void WriteWindowSettings(const std::wstring& path, bool maximised, int top, int height, int width);
