#pragma once

#include <QPushButton>

namespace tq {

// A command button whose caption wraps onto more lines when the button is too narrow
// for it, as the window's narrow menu column needs.
class CaptionButton : public QPushButton {
    Q_OBJECT
public:
    explicit CaptionButton(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace tq
