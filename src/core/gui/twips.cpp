#include "core/gui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace tq {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kDefaultDpi = 96.0;

double twipsPerPixel(double dpi) {
    return kTwipsPerInch / (dpi > 0 ? dpi : kDefaultDpi);
}

const QScreen *primaryScreen() {
    return QGuiApplication::primaryScreen();
}

} // namespace

double TwipsPerPixelX() {
    const QScreen *screen = primaryScreen();
    return twipsPerPixel(screen ? screen->logicalDotsPerInchX() : kDefaultDpi);
}

double TwipsPerPixelY() {
    const QScreen *screen = primaryScreen();
    return twipsPerPixel(screen ? screen->logicalDotsPerInchY() : kDefaultDpi);
}

qint32 PixelsToTwipsX(int pixels) {
    return static_cast<qint32>(std::lround(pixels * TwipsPerPixelX()));
}

qint32 PixelsToTwipsY(int pixels) {
    return static_cast<qint32>(std::lround(pixels * TwipsPerPixelY()));
}

int TwipsToPixelsX(double twips) {
    return static_cast<int>(std::lround(twips / TwipsPerPixelX()));
}

int TwipsToPixelsY(double twips) {
    return static_cast<int>(std::lround(twips / TwipsPerPixelY()));
}

void GetClientSizeTwips(const QWidget *window, qint32 &width, qint32 &height) {
    width = window ? PixelsToTwipsX(window->width()) : 0;
    height = window ? PixelsToTwipsY(window->height()) : 0;
}

} // namespace tq
