#include "print/printer_system.h"

#include "core/messages.h"
#include "print/frmSetPrinter.h"
#include "print/painter_surface.h"

#include <QPrinterInfo>

#include <optional>

namespace tq {

namespace {

PrinterSystem *installed = nullptr;
std::optional<QString> current;
QString lastPdf;

} // namespace

QStringList QtPrinterSystem::SystemPrinters() {
    return QPrinterInfo::availablePrinterNames();
}

QString QtPrinterSystem::DefaultPrinter() {
    return QPrinterInfo::defaultPrinterName();
}

int QtPrinterSystem::ChoosePrinter(const QStringList &names, int preselected) {
    if (!qEnvironmentVariableIsEmpty("TQ6200_MESSAGE_LOG"))
        return -1;
    frmSetPrinter dialog(names, preselected);
    dialog.exec();
    return dialog.SelNo();
}

std::unique_ptr<PrintSurface> QtPrinterSystem::OpenPrinter(const QString &name,
                                                           const QString &document) {
    return OpenSystemPrinter(name, document);
}

PrinterSystem &CurrentPrinterSystem() {
    static QtPrinterSystem production;
    return installed ? *installed : production;
}

void SetPrinterSystem(PrinterSystem *system) {
    installed = system;
    current.reset();
    lastPdf.clear();
}

QString PdfFilePrinter() {
    return LoadMessage(30103);
}

QStringList PrinterList() {
    return CurrentPrinterSystem().SystemPrinters() << PdfFilePrinter();
}

QString CurrentPrinter() {
    if (!current) {
        const QString system = CurrentPrinterSystem().DefaultPrinter();
        current = system.isEmpty() ? PdfFilePrinter() : system;
    }
    return *current;
}

void SetCurrentPrinter(const QString &name) {
    current = name;
}

QString LastPdfFile() {
    return lastPdf;
}

void SetLastPdfFile(const QString &file) {
    lastPdf = file;
}

} // namespace tq
