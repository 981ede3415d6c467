#include "ui/common/caption_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace tq {

CaptionButton::CaptionButton(QWidget *parent) : QPushButton(parent) {}

void CaptionButton::paintEvent(QPaintEvent *) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.drawItemText(area, Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(), text(),
                         QPalette::ButtonText);
}

} // namespace tq
