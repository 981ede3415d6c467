#pragma once

#include "ui/main/window/window_colours.h"

#include <QWidget>

namespace tq {

// A round status lamp of the Download page, painted in a fill and a border colour.
class StatusLamp : public QWidget {
    Q_OBJECT
public:
    explicit StatusLamp(QWidget *parent = nullptr);

    void setColors(const LampColors &colors);
    LampColors colors() const { return m_colors; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    LampColors m_colors = kLampOffColors;
};

} // namespace tq
