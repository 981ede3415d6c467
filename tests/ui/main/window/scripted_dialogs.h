#pragma once

#include "core/gui/dialogs.h"

#include <QList>

#include <deque>

namespace tq::test {

// Dialogs that answer from a script (Yes/OK once the script is used up), record every box,
// answer Save As with `chosen` (cancelled by default) keeping what it proposed, and give a
// fixed "now". Installed for the lifetime of the object.
class ScriptedDialogs : public Dialogs {
public:
    ScriptedDialogs() { SetDialogs(this); }
    ~ScriptedDialogs() override { SetDialogs(nullptr); }
    ScriptedDialogs(const ScriptedDialogs &) = delete;
    ScriptedDialogs &operator=(const ScriptedDialogs &) = delete;

    BoxAnswer ShowMessage(const MessageBoxRequest &request) override {
        shown.append(request);
        if (answers.empty())
            return request.buttons == BoxButtons::YesNo ? BoxAnswer::Yes : BoxAnswer::Ok;
        const BoxAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QString OpenFileName(const FileChoice &) override { return {}; }
    ChosenFile ChooseSaveFile(const FileChoice &choice) override {
        proposed.append(choice.folder);
        return chosen;
    }
    Date Now() override { return now; }

    // The ids of the boxes shown so far.
    QList<int> ids() const {
        QList<int> out;
        for (const MessageBoxRequest &r : shown)
            out.append(r.messageId);
        return out;
    }

    std::deque<BoxAnswer> answers;
    ChosenFile chosen;
    QStringList proposed;
    QList<MessageBoxRequest> shown;
    Date now = Date::fromParts(2009, 12, 31, 23, 59, 59);
};

} // namespace tq::test
