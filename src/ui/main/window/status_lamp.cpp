#include "ui/main/window/status_lamp.h"

#include <QPainter>

namespace tq {

StatusLamp::StatusLamp(QWidget *parent) : QWidget(parent) {}

void StatusLamp::setColors(const LampColors &colors) {
    m_colors = colors;
    update();
}

void StatusLamp::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(m_colors.border, 2));
    painter.setBrush(m_colors.fill);
    painter.drawEllipse(rect().adjusted(1, 1, -1, -1));
}

} // namespace tq
