#pragma once

#include "core/gui/twips.h"

#include <QString>
#include <QWidget>

namespace tq {

// The objectName of element `index` of an indexed control array: the name, "_" and the
// index (cmdBrowse_4).
QString IndexedName(const char *name, int index);

// A control made in `parent` under its design name, which tests and captions find it by.
template <typename T> T *MakeNamed(QWidget *parent, const QString &name) {
    auto *control = new T(parent);
    control->setObjectName(name);
    return control;
}

// The same, made in its design size in twips.
template <typename T>
T *MakeSized(QWidget *parent, const QString &name, double width, double height) {
    auto *control = MakeNamed<T>(parent, name);
    control->resize(TwipsToPixelsX(width), TwipsToPixelsY(height));
    return control;
}

// A control's width in twips: at least its design width, and wide enough for its caption in
// its current font.
double FittedWidth(const QWidget *control);

} // namespace tq
