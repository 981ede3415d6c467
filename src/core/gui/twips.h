#pragma once

#include <QtGlobal>

class QWidget;

namespace tq {

// Window geometry is kept in twips (1440 per logical inch): 15 twips per pixel at 96 dpi,
// scaled with the primary screen's logical dpi.
double TwipsPerPixelX();
double TwipsPerPixelY();

qint32 PixelsToTwipsX(int pixels);
qint32 PixelsToTwipsY(int pixels);
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);

// The window's client area in twips, each side rounded to a whole number; 0 by 0 for no
// window.
void GetClientSizeTwips(const QWidget *window, qint32 &width, qint32 &height);

} // namespace tq
