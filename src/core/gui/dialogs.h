#pragma once

#include "core/date.h"

#include <QColor>
#include <QFont>
#include <QString>

namespace tq {

enum class BoxIcon { None, Information, Question, Warning, Critical };
enum class BoxButtons { Ok, YesNo };
enum class BoxAnswer { Ok, Yes, No };

// One message box: the id of its message in the message table (0 for a text of the
// program's own), the text, the title, the icon and the buttons. The first button (OK or
// Yes) is the default.
struct MessageBoxRequest {
    int messageId = 0;
    QString text;
    QString title;
    BoxIcon icon = BoxIcon::None;
    BoxButtons buttons = BoxButtons::Ok;
};

// What a file chooser is asked for.
struct FileChoice {
    QString title;
    QString folder;      // the folder to start in, or the proposed full name
    QString filter;      // entries "Text (*.txt);;All (*)"
    int filterIndex = 1; // the 1-based entry preselected
};

// What a save chooser answers: the chosen full name, empty when the person cancelled, and
// the 1-based filter entry chosen.
struct ChosenFile {
    QString path;
    int filterIndex = 1;
};

// Everything the program asks of the person in front of it, and the clock it compares
// with. Tests install their own answers; the program runs on the production one.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual BoxAnswer ShowMessage(const MessageBoxRequest &request) = 0;
    // The chosen path, empty when the person cancelled.
    virtual QString OpenFileName(const FileChoice &choice) = 0;
    // Never asks about an existing file (the caller does) and adds no suffix of its own.
    virtual ChosenFile ChooseSaveFile(const FileChoice &choice) = 0;
    // The chosen path alone.
    QString SaveFileName(const FileChoice &choice) { return ChooseSaveFile(choice).path; }
    virtual Date Now() = 0;
    // The font and colour choosers give the preset back when the person cancels. (The
    // printer choice is the print library's own seam.)
    virtual QFont ChooseFont(const QFont &preset) { return preset; }
    virtual QColor ChooseColor(const QColor &preset) { return preset; }
};

// The production dialogs. When the environment variable TQ6200_MESSAGE_LOG names a file,
// no box is shown: each box appends a line to that file (the message id, a tab and the
// text, its line breaks written as "~c") and takes its default button; file choosers then
// answer with no file and the font and colour choosers with their preset.
class QtDialogs : public Dialogs {
public:
    BoxAnswer ShowMessage(const MessageBoxRequest &request) override;
    QString OpenFileName(const FileChoice &choice) override;
    ChosenFile ChooseSaveFile(const FileChoice &choice) override;
    Date Now() override;
    QFont ChooseFont(const QFont &preset) override;
    QColor ChooseColor(const QColor &preset) override;
};

// The dialogs in use: the installed ones, else the production ones.
Dialogs &CurrentDialogs();
// Installs replacement dialogs (not owned); nullptr goes back to the production ones.
void SetDialogs(Dialogs *dialogs);

// Shorthands over CurrentDialogs().
BoxAnswer ShowMessage(const MessageBoxRequest &request);
Date Now();
// The question before a chosen file is replaced (5307 titled 5308); true for Yes.
bool OverwriteConfirmed();

} // namespace tq
