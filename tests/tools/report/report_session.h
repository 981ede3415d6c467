#pragma once

// What the commands of tq6200-report share: the exit statuses, the dialogs answered from
// the arguments, the PDF-only printer choice and the real main window started offscreen
// over the program folder's existing database.

#include "core/gui/dialogs.h"
#include "print/printer_system.h"

#include <QString>

#include <memory>
#include <optional>

namespace tq {
class frmMain;
}

namespace tq::report {

inline constexpr int kExitWritten = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitNotStarted = 2;

// "tq6200-report: " and why on stderr; the status of a command that could not start.
int NotStarted(const QString &why);

// The Save As dialog answered from the arguments; "Over Write OK?" answered Yes, every
// other question No. Every box goes to stderr.
class ReportDialogs : public Dialogs {
public:
    BoxAnswer ShowMessage(const MessageBoxRequest &request) override;
    QString OpenFileName(const FileChoice &) override { return {}; }
    ChosenFile ChooseSaveFile(const FileChoice &) override { return {file, entry}; }
    Date Now() override { return Date::now(); }

    QString file;
    int entry = 1;
    int others = 0; // boxes but the overwrite question
};

// No system printer: the choice answers the "PDF file" entry, the last of the list.
class PdfOnlyPrinters : public PrinterSystem {
public:
    QStringList SystemPrinters() override { return {}; }
    QString DefaultPrinter() override { return {}; }
    int ChoosePrinter(const QStringList &names, int) override { return int(names.size()) - 1; }
    std::unique_ptr<PrintSurface> OpenPrinter(const QString &name, const QString &) override;
};

// Why the Save As entry is refused for an export of a log of `logType` (`bitmap`: the
// graph), or nothing when the dialog offers it.
std::optional<QString> UnofferedExportEntry(int entry, qint32 logType, bool bitmap);

// The pages of a PDF file as its page objects count them.
int PdfPages(const QString &file);

// The dialogs and printers installed while it lives, the main window started over the
// program folder (the current folder): its settings read, its database opened, fake ports.
class ReportSession {
public:
    // The Save As dialog answers `target` (made absolute) and filter entry `entry`.
    ReportSession(const QString &target, int entry);
    ~ReportSession();
    ReportSession(const ReportSession &) = delete;
    ReportSession &operator=(const ReportSession &) = delete;

    // The window loaded and shown, debug mode as given; otherwise the exit status of a
    // command that could not start (no database, the lock held).
    std::optional<int> Start(bool debug);
    frmMain &window() { return *m_window; }
    const QString &target() const { return dialogs.file; }
    // kExitWritten when the target is a file and no box but the overwrite question came,
    // else kExitFailed; a written PDF has its page count on stdout ("pages N").
    int Finish(bool pdf) const;

    ReportDialogs dialogs;

private:
    PdfOnlyPrinters m_printers;
    std::unique_ptr<frmMain> m_window;
};

} // namespace tq::report
