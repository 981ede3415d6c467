#pragma once

#include <optional>

class QWidget;

namespace tq {

// A control's geometry in twips, read back from what it took.
double L(const QWidget *w);
double T(const QWidget *w);
double W(const QWidget *w);
double H(const QWidget *w);
double R(const QWidget *w); // right edge
double B(const QWidget *w); // bottom edge

// A size a rule leaves as it is.
inline const std::optional<double> keep;

// Moves and sizes a control, all in twips; a size left out stays.
void place(QWidget *w, double left, double top, std::optional<double> width = keep,
           std::optional<double> height = keep);

// A window in the middle of the primary screen (left alone without a screen).
void CentreOnScreen(QWidget &window);

// The inner frame in the middle of its container, `raise` twips higher.
void centre(QWidget *inner, const QWidget *outer, double raise = 0);

} // namespace tq
