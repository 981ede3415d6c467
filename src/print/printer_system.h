#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace tq {

class PrintSurface;

// The system's printers and the person's choice among them. The program runs on the
// production one (the printers Qt knows, the printer choice window); tests and tools
// install their own, answering with an index and printing where they like.
class PrinterSystem {
public:
    virtual ~PrinterSystem() = default;
    // Device names of the system's printers, in list order.
    virtual QStringList SystemPrinters() = 0;
    // The system's default printer; empty when there is none.
    virtual QString DefaultPrinter() = 0;
    // Shows the printer choice over `names` with entry `preselected` selected (-1: none);
    // the index chosen, -1 when none was.
    virtual int ChoosePrinter(const QStringList &names, int preselected) = 0;
    // Begins a document on a system printer; throws TqError when it cannot.
    virtual std::unique_ptr<PrintSurface> OpenPrinter(const QString &name,
                                                      const QString &document) = 0;
};

// The production printers. With TQ6200_MESSAGE_LOG set the choice answers no printer, as
// the file choosers answer no file.
class QtPrinterSystem : public PrinterSystem {
public:
    QStringList SystemPrinters() override;
    QString DefaultPrinter() override;
    int ChoosePrinter(const QStringList &names, int preselected) override;
    std::unique_ptr<PrintSurface> OpenPrinter(const QString &name,
                                              const QString &document) override;
};

// The printers in use: the installed ones, else the production ones.
PrinterSystem &CurrentPrinterSystem();
// Installs replacement printers (not owned; nullptr goes back to the production ones);
// the current printer starts afresh from their default, and no PDF file was printed yet.
void SetPrinterSystem(PrinterSystem *system);

// The entry that prints into a PDF file, last in the printer list.
QString PdfFilePrinter();
// The printer list of the choice: the system's printers, then the PDF file.
QStringList PrinterList();
// The program's current printer, by name: the system's default at first, the PDF file
// when the system has no printer.
QString CurrentPrinter();
void SetCurrentPrinter(const QString &name);
// The PDF file the last printout of this run went to (empty before the first one): the
// next one proposes it.
QString LastPdfFile();
void SetLastPdfFile(const QString &file);

} // namespace tq
