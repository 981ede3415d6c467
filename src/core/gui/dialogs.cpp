#include "core/gui/dialogs.h"

#include "core/gui/display_font.h"
#include "core/messages.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QMessageBox>

namespace tq {

namespace {

Dialogs *installed = nullptr;

QString messageLogPath() {
    return qEnvironmentVariable("TQ6200_MESSAGE_LOG");
}

void appendToMessageLog(const QString &path, const MessageBoxRequest &request) {
    QString text = request.text;
    text.replace(QLatin1String("\r\n"), QLatin1String("~c"));
    text.replace(QLatin1Char('\n'), QLatin1String("~c"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(
            (QString::number(request.messageId) + QLatin1Char('\t') + text + QLatin1Char('\n'))
                .toUtf8());
}

QMessageBox::Icon boxIcon(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::Information:
        return QMessageBox::Information;
    case BoxIcon::Question:
        return QMessageBox::Question;
    case BoxIcon::Warning:
        return QMessageBox::Warning;
    case BoxIcon::Critical:
        return QMessageBox::Critical;
    case BoxIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

BoxAnswer defaultAnswer(BoxButtons buttons) {
    return buttons == BoxButtons::YesNo ? BoxAnswer::Yes : BoxAnswer::Ok;
}

} // namespace

BoxAnswer QtDialogs::ShowMessage(const MessageBoxRequest &request) {
    const QString log = messageLogPath();
    if (!log.isEmpty()) {
        appendToMessageLog(log, request);
        return defaultAnswer(request.buttons);
    }
    QMessageBox box(boxIcon(request.icon), request.title, request.text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    if (request.buttons == BoxButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? BoxAnswer::Yes : BoxAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return BoxAnswer::Ok;
}

QString QtDialogs::OpenFileName(const FileChoice &choice) {
    if (!messageLogPath().isEmpty())
        return {};
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), choice.title, choice.folder,
                                        choice.filter);
}

ChosenFile QtDialogs::ChooseSaveFile(const FileChoice &choice) {
    if (!messageLogPath().isEmpty())
        return {QString(), choice.filterIndex};
    const QStringList entries = choice.filter.split(QStringLiteral(";;"));
    QString selected = entries.value(choice.filterIndex - 1);
    const QString path =
        QFileDialog::getSaveFileName(QApplication::activeWindow(), choice.title, choice.folder,
                                     choice.filter, &selected, QFileDialog::DontConfirmOverwrite);
    const qsizetype chosen = entries.indexOf(selected);
    return {path, chosen >= 0 ? int(chosen) + 1 : choice.filterIndex};
}

Date QtDialogs::Now() {
    return Date::now();
}

QFont QtDialogs::ChooseFont(const QFont &preset) {
    if (!messageLogPath().isEmpty())
        return PlainDisplayFont(preset);
    // The chooser offers face, style and size only: the display font of every window is
    // never underlined or struck out. Qt's own dialog, so its effects can be hidden.
    QFontDialog dialog(preset, QApplication::activeWindow());
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    for (QCheckBox *effect : dialog.findChildren<QCheckBox *>()) {
        effect->hide();
        if (auto *group = qobject_cast<QGroupBox *>(effect->parentWidget()))
            group->hide();
    }
    return PlainDisplayFont(dialog.exec() == QDialog::Accepted ? dialog.selectedFont() : preset);
}

QColor QtDialogs::ChooseColor(const QColor &preset) {
    if (!messageLogPath().isEmpty())
        return preset;
    const QColor chosen = QColorDialog::getColor(preset, QApplication::activeWindow());
    return chosen.isValid() ? chosen : preset;
}

Dialogs &CurrentDialogs() {
    static QtDialogs production;
    return installed ? *installed : production;
}

void SetDialogs(Dialogs *dialogs) {
    installed = dialogs;
}

BoxAnswer ShowMessage(const MessageBoxRequest &request) {
    return CurrentDialogs().ShowMessage(request);
}

bool OverwriteConfirmed() {
    return ShowMessage({5307, LoadMessage(5307), LoadMessage(5308), BoxIcon::Question,
                        BoxButtons::YesNo}) == BoxAnswer::Yes;
}

Date Now() {
    return CurrentDialogs().Now();
}

} // namespace tq
