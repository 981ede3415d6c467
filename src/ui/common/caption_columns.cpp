#include "ui/common/caption_columns.h"

#include "core/gui/twips.h"

#include <QWidget>

#include <algorithm>

namespace tq {

int CaptionColumnWidth(std::initializer_list<QWidget *> captions) {
    int width = 0;
    for (QWidget *caption : captions)
        width = std::max({width, caption->width(), caption->sizeHint().width()});
    return width;
}

void FitCaptionColumns(QWidget *frame, std::initializer_list<QWidget *> captions,
                       std::initializer_list<QWidget *> values, int designValueLeft) {
    const int width = CaptionColumnWidth(captions);
    int left = designValueLeft;
    for (QWidget *caption : captions) {
        caption->resize(width, caption->height());
        left = std::max(left, caption->x() + width + TwipsToPixelsX(60));
    }
    int right = frame->width();
    for (QWidget *value : values) {
        value->move(left, value->y());
        right = std::max(right, value->geometry().right() + 1);
    }
    frame->resize(right, frame->height());
}

} // namespace tq
