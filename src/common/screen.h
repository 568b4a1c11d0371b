#pragma once
// Screen measures: size in pixels and the real twips per pixel (1440 / logical dpi).

namespace common {

double TwipsPerPixelX();
double TwipsPerPixelY();
int ScreenWidthPixels();
int ScreenHeightPixels();

// Twips to pixels and back, rounded to the nearest pixel (half to even).
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);

// Nearest integer, ties to the even neighbour, as the system's numeric conversions round.
long long RoundHalfEven(double value);

}  // namespace common
