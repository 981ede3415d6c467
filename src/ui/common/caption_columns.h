#pragma once

#include <initializer_list>

class QWidget;

namespace tq {

// The widest of the captions, at least their design width.
int CaptionColumnWidth(std::initializer_list<QWidget *> captions);

// Captions at the left of `frame`, values right of them at no less than their design left
// (pixels); the frame grows to hold the values.
void FitCaptionColumns(QWidget *frame, std::initializer_list<QWidget *> captions,
                       std::initializer_list<QWidget *> values, int designValueLeft);

} // namespace tq
