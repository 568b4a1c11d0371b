#pragma once
// Screen measures: size in pixels and the real twips per pixel (1440 / logical dpi).

namespace common {

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
