#pragma once
// Screen measures: size in pixels and the real twips per pixel (1440 / logical dpi).

namespace common {

// The screen's logical dots per inch: 96 on a standard screen, 120 or 144 at the larger settings.
int LogicalDpiX();
int LogicalDpiY();
// Makes geometry and fonts follow `dpi` instead of the screen's own (0 gives the screen's back):
// a running session cannot change its dpi, so window tests of other settings set it here.
void SetLogicalDpiOverride(int dpi);

double TwipsPerPixelX();
double TwipsPerPixelY();
int ScreenWidthPixels();
int ScreenHeightPixels();

// Twips to pixels, rounded to the nearest pixel (half to even), and pixels to twips: the one rule
// between the two units, with the screen's real twips per pixel.
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
double PixelsToTwipsX(double pixels);
double PixelsToTwipsY(double pixels);

// Nearest integer, ties to the even neighbour, as the system's numeric conversions round.
long long RoundHalfEven(double value);

}  // namespace common
