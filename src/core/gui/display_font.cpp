#include "core/gui/display_font.h"

#include "core/gui/font_copy.h"

#include <QApplication>
#include <QWidget>

namespace tq {

QFont DisplayQFont(const FontSettings &settings) {
    QFont font = QApplication::font();
    if (!settings.Name.isEmpty())
        font.setFamily(settings.Name);
    if (settings.Size > 0)
        font.setPointSizeF(settings.Size);
    font.setBold(settings.Bold);
    font.setItalic(settings.Italic);
    return PlainDisplayFont(font);
}

void ApplyDisplayFont(QWidget &window) {
    const QFont display = DisplayQFont(Globals().DisplayFont);
    for (QWidget *control : window.findChildren<QWidget *>()) {
        QFont font = control->font();
        CopyFont(font, display);
        control->setFont(font);
    }
}

FontSettings FontSettingsOf(const QFont &font) {
    FontSettings settings;
    settings.Name = font.family();
    settings.Size = float(font.pointSizeF());
    settings.Bold = font.bold();
    settings.Italic = font.italic();
    return settings;
}

QFont PlainDisplayFont(QFont font) {
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

QString FontCaption(const QFont &font) {
    return font.family() + QLatin1Char('(') + QString::number(font.pointSizeF(), 'g', 7) +
           QLatin1Char(')');
}

} // namespace tq
