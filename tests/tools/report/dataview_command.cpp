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

namespace tq::report {

namespace {

constexpr qint32 kAlarmTrend = 2;

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
    // The window is on screen once its modal loop runs, where the first timer fires.
    int status = kExitFailed;
    bool acted = false;
    // A timer of this scope: one that has not fired when the window failed to open goes
    // with the locals it refers to.
    QTimer once;
    once.setSingleShot(true);
    QObject::connect(&once, &QTimer::timeout, [&] {
        frmIntermittence *view = shownDataView();
        if (!view)
            return;
        acted = true;
        status = act(*view, request, session);
        view->cmdBrowse[4]->click(); // Return
    });
    once.start(0);
    window.ShowDataViewWindow();
    if (!acted)
        return session.dialogs.others > 0
                   ? kExitFailed
                   : NotStarted(QStringLiteral("the data view window did not show"));
    return status;
}

} // namespace tq::report
