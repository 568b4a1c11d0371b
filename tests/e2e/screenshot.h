#pragma once
// What is on the screen, saved as a PNG for a person to look at.
#include <string>

namespace e2e {

// The whole screen into `path`; false if it could not be read or written.
bool SaveScreenshot(const std::wstring& path);

}  // namespace e2e
