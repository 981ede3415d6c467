#pragma once

#include "core/program_state.h"

#include <QFont>
#include <QString>

class QWidget;

namespace tq {

// The display font of the settings as a font of the screen (an empty name is the
// application's font family).
QFont DisplayQFont(const FontSettings &settings);

// Copies the settings' display font into every control of a window (what a window does
// when it is loaded).
void ApplyDisplayFont(QWidget &window);

// Name, size, bold, italic and underline of a font, as the settings file keeps them; the
// underline stays off (see PlainDisplayFont).
FontSettings FontSettingsOf(const QFont &font);

// The font without underline and strikeout. Every control takes the display font, and an
// underlined one cuts through the descenders of every caption and grid cell; so it is
// neither chosen, nor taken from a settings file, nor stored.
QFont PlainDisplayFont(QFont font);

// The font button's caption: the name, "(", the size without trailing zeros, ")" as in
// Arial(9) or Arial(10.5).
QString FontCaption(const QFont &font);

} // namespace tq
