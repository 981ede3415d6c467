#include "print/frmSetPrinter.h"

#include "core/gui/display_font.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tq {

frmSetPrinter::frmSetPrinter(const QStringList &names, int preselected, QWidget *parent)
    : QDialog(parent), m_list(new QComboBox(this)) {
    setObjectName(QStringLiteral("frmSetPrinter"));
    setWindowTitle(QStringLiteral("Printer List"));
    auto *label = new QLabel(QStringLiteral("Printer"), this);
    label->setObjectName(QStringLiteral("lblPrinter"));
    m_list->setObjectName(QStringLiteral("cmbPrinter"));
    m_list->addItems(names);
    m_list->setCurrentIndex(preselected >= 0 && preselected < names.size() ? preselected : -1);
    m_list->setMinimumContentsLength(24);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(ok, &QPushButton::clicked, this, [this] {
        m_selNo = qint16(m_list->currentIndex());
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_list, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    ApplyDisplayFont(*this);
}

} // namespace tq
