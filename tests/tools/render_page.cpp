// Renders a page of the main window, filled from a fixed set of data, to a PNG file, and
// the printed Last Calibration list to a PDF file. A developer aid: the pages are the
// window's own, in the language of the locale (LC_ALL).
//
//   render_page PAGE OUT
//   PAGE: instrument | instrument-none | lastcal-0 | lastcal-1 | lastcal-2 | set | print |
//         fsdialog
#include "core/database.h"
#include "core/date.h"
#include "core/errors.h"
#include "core/gui/flex_grid.h"
#include "core/program_state.h"
#include "print/frmPrint.h"
#include "print/painter_surface.h"
#include "ui/instrument/frmFsDialog.h"
#include "ui/instrument/instrument_info_page.h"
#include "ui/instrument/latest_cal_page.h"
#include "ui/main/termination_signals.h"
#include "ui/main/window/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QPrinter>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

using namespace tq;

void fillInstrument(clsInstrument &i) {
    i.setSerialNo(QStringLiteral("TQ62-000123"));
    i.setStationID(QStringLiteral("NORTH GATE"));
    i.setUserID(QStringLiteral("OPERATOR-7"));
    i.setGasName(0, QStringLiteral("CO"));
    i.setGasUnit(0, QStringLiteral("ppm"));
    i.setGasFullScale(0, 500);
    i.setGasPoint(0, 1);
    i.setGasDesit(0, 0.5f);
    i.setGasEnabled(0, true);
    i.setCalLimit(90);
    i.setCalibDate(0, Date::now().addDays(-86));
    i.setCalibBefore(0, 48.5f);
    i.setCalibAfter(0, 50);
    i.setAutoCalib(0, 50);
    i.setWarning(0, 25);
    i.setAlarm(0, 50);
    i.setStel(0, 200);
    i.setTwa(0, 25);
    i.setCommFlags(true);
}

// Entries of every kind the list marks: in time, overdue, due soon, old download, gas off.
void fillLatestCalibrations(int count) {
    Database db(Globals().DatabasePath);
    const double calibrated[] = {10, 95, 86, 10, 30};
    const double downloaded[] = {1, 2, 3, 100, 4};
    for (int n = 0; n < count; ++n)
        db.execute(QStringLiteral("INSERT INTO cLatestHist (SerialNo, UserID, StationID, "
                                  "WriteDates, CalLimit, Gas1Name, Gas1Point, Gas1Enable, "
                                  "Gas1CalDate, Gas1Before, Gas1After, Gas1AutoCal) VALUES "
                                  "(?, 'OPERATOR', ?, ?, 90, 'CO', 1, ?, ?, 48.5, 50, 50)"),
                   {QStringLiteral("TQ62-%1").arg(n, 6, 10, QLatin1Char('0')),
                    QStringLiteral("ST-%1").arg(n % 7),
                    DateParam(Date::now().addDays(-downloaded[n % 5] - n)), n % 5 != 4,
                    DateParam(Date::now().addDays(-calibrated[n % 5]))});
}

int fail(const QString &text) {
    QTextStream(stderr) << text << '\n';
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    tq::IgnoreFileSizeSignal();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return fail(QStringLiteral("usage: render_page PAGE OUT"));
    const QString page = args[1];
    const QString out = QFileInfo(args[2]).absoluteFilePath();

    // A program folder of its own; boxes go to a log instead of the screen.
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    qputenv("TQ6200_MESSAGE_LOG", folder.filePath(QStringLiteral("boxes.log")).toUtf8());
    frmMain window;
    if (window.Form_Load() != frmMain::LoadResult::Loaded)
        return fail(QStringLiteral("the window did not load"));
    window.resize(1100, 700);
    window.show();
    Globals().LimitDays = 7; // the due-soon marks show too

    if (page == QLatin1String("instrument") || page == QLatin1String("instrument-none")) {
        window.cmdInst_Click(1);
        if (page == QLatin1String("instrument")) {
            // A filled record shows as a stored log's, with no detector connected.
            fillInstrument(window.LinkInstrument());
            window.findChild<InstrumentInfoPage *>()->ShowInstrument(
                window.LinkInstrument(), InstrumentInfoPage::Source::StoredData);
            window.Form_Resize();
        }
    } else if (page.startsWith(QLatin1String("lastcal-")) || page == QLatin1String("print")) {
        fillLatestCalibrations(page == QLatin1String("print") ? 120 : 12);
        const int view = page == QLatin1String("print") ? 1 : page.back().digitValue();
        if (view < 0 || view > 2)
            return fail(QStringLiteral("no such view: ") + page);
        window.cmdInst_Click(3);
        const LatestCalPage &lastCal = *window.findChild<LatestCalPage *>();
        lastCal.optHistory[std::size_t(view)]->setChecked(true);
        if (page == QLatin1String("print")) {
            PrintRequest request;
            request.DataType = frmPrint::kLastCalibration;
            request.frmObj = lastCal.vfgHistory;
            frmPrint print;
            print.setRequest(request);
            try {
                const std::unique_ptr<PrintSurface> pdf = OpenPdfFile(out, QStringLiteral("list"));
                print.PrintPages(*pdf);
                pdf->EndDoc();
            } catch (const std::exception &error) {
                return fail(ErrorText(error));
            }
            return 0;
        }
    } else if (page == QLatin1String("set")) {
        window.cmdInst_Click(4);
    } else if (page == QLatin1String("fsdialog")) {
        clsInstrument &instrument = window.LinkInstrument();
        fillInstrument(instrument);
        instrument.setStationList(0, QStringLiteral("NORTH GATE"));
        instrument.setStationList(1, QStringLiteral("  PUMP-2/B"));
        frmFsDialog dialog(&window);
        dialog.setInstrument(&instrument);
        dialog.show();
        FlexGrid *grid = dialog.vfgStation();
        grid->SetCellBackColor(2, 1, QColor(255, 0, 0)); // an invalid name's mark
        grid->SetRow(1);
        grid->SetCol(1);
        QApplication::processEvents();
        return dialog.grab().save(out) ? 0 : 1;
    } else {
        return fail(QStringLiteral("unknown page: ") + page);
    }
    QApplication::processEvents();
    return window.grab().save(out) ? 0 : 1;
}
