#include "dataview_command.h"

#include "core/gui/flex_grid.h"
#include "core/gui/twips.h"
#include "core/program_state.h"
#include "data_view_dump.h"
#include "report_session.h"
#include "ui/dataview/frmIntermittence.h"
#include "ui/display/data_view_page.h"
#include "ui/main/window/frmMain.h"

#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <functional>

namespace tq::report {

namespace {

constexpr qint32 kAlarmTrend = 2;
// Waits for the modal window to show, a few milliseconds at a time.
constexpr int kShowPolls = 500;

frmIntermittence *shownDataView() {
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *view = qobject_cast<frmIntermittence *>(widget); view && view->isVisible())
            return view;
    return nullptr;
}

// The opened window's command; the exit status.
int act(frmIntermittence &view, const DataViewRequest &request, ReportSession &session) {
    switch (request.action) {
    case DataViewAction::Dump: {
        QTextStream out(stdout);
        WriteDataViewState(view, out);
        return session.dialogs.others == 0 ? kExitWritten : kExitFailed;
    }
    case DataViewAction::Export:
        if (const std::optional<QString> refused = UnofferedExportEntry(
                session.dialogs.entry, view.RecordKind(), view.optBrowse[1]->isChecked()))
            return NotStarted(*refused);
        view.cmdBrowse[2]->click();
        return session.Finish(false);
    case DataViewAction::Print:
        view.cmdBrowse[0]->click();
        return session.Finish(true);
    case DataViewAction::Shot:
        if (!view.grab().save(session.target()))
            return NotStarted(QStringLiteral("could not save %1").arg(session.target()));
        return session.Finish(false);
    }
    return kExitFailed;
}

} // namespace

int RunDataView(ReportSession &session, const DataViewRequest &request) {
    frmMain &window = session.window();
    DataViewPage &page = window.dataViewPage();
    // The page as the person left it before clicking a trend event: one of its views on.
    page.optBrowse[request.graph ? 1 : 0]->setChecked(true);
    if (request.noSummary != page.vfgSummary->isHidden())
        page.cmdBrowse_Click(3);
    if (request.size)
        window.resize(TwipsToPixelsX(request.size->width()),
                      TwipsToPixelsY(request.size->height()));
    QCoreApplication::processEvents();

    Globals().ViewSeqNo = request.seqNo;
    Globals().ViewKind = kAlarmTrend;
    int status = kExitFailed;
    int polls = 0;
    std::function<void()> onceShown = [&] {
        frmIntermittence *view = shownDataView();
        if (!view) {
            if (++polls < kShowPolls)
                QTimer::singleShot(10, onceShown);
            return;
        }
        status = act(*view, request, session);
        view->cmdBrowse[4]->click(); // Return
    };
    QTimer::singleShot(0, onceShown);
    window.ShowDataViewWindow();
    if (polls == kShowPolls)
        return NotStarted(QStringLiteral("the data view window did not show"));
    return status;
}

} // namespace tq::report
