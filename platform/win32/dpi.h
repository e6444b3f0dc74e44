// Twips and pixels at the display's actual resolution: 1440 twips to the
// inch, so 15 twips to the pixel at 96 dots per inch and 12 at 120.
#pragma once

int ScreenDpi();
int TwipsToPixels(int twips);
double PixelsToTwips(int pixels);
// The height to ask of CreateFontW for a size in hundredths of a point.
int FontHeight(int centiPoints);
