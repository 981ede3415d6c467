#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;

namespace tq {

// The printer choice: a list of printer names with the current printer's entry selected;
// OK takes the selected entry, Cancel and closing take none.
class frmSetPrinter : public QDialog {
    Q_OBJECT
public:
    // `preselected`: the entry selected when the window opens (-1: none).
    frmSetPrinter(const QStringList &names, int preselected, QWidget *parent = nullptr);

    // The index chosen in the list; -1 when none was.
    qint16 SelNo() const { return m_selNo; }

private:
    QComboBox *m_list;
    qint16 m_selNo = -1;
};

} // namespace tq
