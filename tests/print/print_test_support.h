#pragma once

#include "recording_surface.h"

#include "core/database.h"
#include "core/log_schema.h"
#include "core/program_state.h"
#include "print/frmPrint.h"
#include "test_support.h"
#include "ui/main/window/scripted_dialogs.h"

#include <ostream>

// Texts in failure messages as texts.
inline void PrintTo(const QString &text, std::ostream *out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tq::test {

// Scripted boxes that answer the PDF file chooser with `pdf` and remember what it proposed.
struct PrintDialogs : ScriptedDialogs {
    ChosenFile ChooseSaveFile(const FileChoice &choice) override {
        proposed.append(choice.folder);
        return {pdf, choice.filterIndex};
    }
    QString pdf;
    QStringList proposed;
};

// A fresh program folder with an empty log database, the scripted boxes and the test's
// printers.
class PrintTest : public TempFolderTest {
protected:
    void SetUp() override {
        Globals() = ProgramState();
        Globals().AppFolder = dir.path();
        Globals().DatabasePath = path(QStringLiteral("TQ6200.mdb"));
        CreateLogDatabase(Globals().DatabasePath);
    }
    void TearDown() override { Globals() = ProgramState(); }

    // A head row of a stored log; returns its key.
    qint64 addHead(qint32 type, qint64 seqNo, const Date &dates, const QString &gasName = {},
                   float full = 500, qint16 point = 1, const QString &unit = {}) {
        Database(Globals().DatabasePath)
            .execute(QStringLiteral("INSERT INTO Log_Head (SeqNo, Names, UserID, StationID, "
                                    "SerialNo, Types, Dates, Gas1Name, Gas1Full, Gas1Point, "
                                    "Gas1Unit, Gas1Enable) VALUES (?, 'LOG', 'USER-1', 'ST-9', "
                                    "'SN0042', ?, ?, ?, ?, ?, ?, 1)"),
                     {seqNo, type, DateParam(dates), gasName, full, point, unit});
        return seqNo;
    }

    PrintDialogs dialogs;
    FakePrinters printers;
};

inline const double W = RecordingSurface::kWidth;
inline const double H = RecordingSurface::kHeight;
// A 9-point row of the recording printer.
inline const double kRow = double(float(1.1 * 180));

} // namespace tq::test
