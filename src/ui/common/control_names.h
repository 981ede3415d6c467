#pragma once

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

} // namespace tq
