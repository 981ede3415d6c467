#pragma once

#include "ui/common/caption_button.h"
#include "ui/common/control_names.h"

#include <QPushButton>

#include <array>

namespace tq {

// A place and size in twips; a negative place leaves the control where it is made.
struct Design {
    double width = 0;
    double height = 0;
    double left = -1;
    double top = -1;
};

void ApplyDesign(QWidget *control, const Design &design);

// A control made in `parent` under its design name, in its design size and place.
template <typename T>
T *MakeDesigned(QWidget *parent, const QString &name, const Design &design = {}) {
    auto *control = MakeNamed<T>(parent, name);
    ApplyDesign(control, design);
    return control;
}

// Command buttons wrap their captions.
template <typename T> struct DesignedType { using type = T; };
template <> struct DesignedType<QPushButton> { using type = CaptionButton; };

// Every element of an indexed control array, named "name_index".
template <typename T, std::size_t N>
void MakeDesignedArray(std::array<T *, N> &controls, QWidget *parent, const char *name,
                       const Design &design = {}) {
    for (std::size_t i = 0; i < N; ++i)
        controls[i] =
            MakeDesigned<typename DesignedType<T>::type>(parent, IndexedName(name, int(i)), design);
}

} // namespace tq
