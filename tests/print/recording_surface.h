#pragma once

#include "print/print_surface.h"
#include "print/printer_system.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace tq::test {

// One call a page printer made of its printer.
struct PrintCall {
    enum Kind { Text, Line, Page, Graph, End };
    Kind kind = Text;
    int page = 1;
    double x = 0, y = 0;   // text: its top left; line and graph: the first corner
    double x2 = 0, y2 = 0; // line: its end; graph: width and height
    QString text;
    QString font;
    double size = 0;
    bool bold = false;
    int pen = 1;
    unsigned color = 0;
    double scaleX = 1; // text: below 1 when narrowed to its column
};

// What a recording printer was asked, kept by the test while the job owns the printer.
struct Recording {
    QList<PrintCall> calls;
    bool ended = false;
    bool aborted = false;
    // Fails the n-th call of a kind (1-based) with a TqError, as a printer would.
    PrintCall::Kind failKind = PrintCall::Text;
    int failAt = 0;

    int pages() const;
    QList<PrintCall> of(PrintCall::Kind kind) const;
    QStringList texts() const;
    // The texts of one page, top to bottom, those of one height joined by "|" in x order.
    QStringList lines(int page) const;
    // The first text call that reads `text` (a default call when there is none).
    PrintCall find(const QString &text, int nth = 1) const;
    // The text call `offset` calls after that one.
    PrintCall after(const QString &text, int nth, int offset) const;
};

// A printer with fixed text metrics: every character is 10 twips per point wide and a
// line is 20 twips per point high (a 9-point "W" is 90 by 180 twips, a row 198 twips).
class RecordingSurface : public PrintSurface {
public:
    static constexpr double kWidth = 10000;
    static constexpr double kHeight = 15000;

    explicit RecordingSurface(Recording &record, double width = kWidth, double height = kHeight);

    double TextWidth(const QString &text) const override;
    double TextHeight(const QString &text) const override;
    void DrawGraph(uclVtmGraph &graph) override;
    void EndDoc() override;
    void Abort() override;

protected:
    void fontChanged() override {}
    void drawText(double x, double y, const QString &text, double scaleX) override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    void newPage() override;

private:
    void add(PrintCall call);

    Recording &m_record;
    int m_page = 1;
    int m_failCount = 0;
};

// A printer list of the test's own: the system's printers are names, the choice answers
// with an index, and every system printer records into `record`. Installed while it lives.
class FakePrinters : public PrinterSystem {
public:
    FakePrinters(QStringList printers = {QStringLiteral("Laser A"), QStringLiteral("Laser B")},
                 QString defaultPrinter = QStringLiteral("Laser A"));
    ~FakePrinters() override;
    FakePrinters(const FakePrinters &) = delete;
    FakePrinters &operator=(const FakePrinters &) = delete;

    QStringList SystemPrinters() override { return printers; }
    QString DefaultPrinter() override { return defaultPrinter; }
    int ChoosePrinter(const QStringList &names, int preselected) override;
    std::unique_ptr<PrintSurface> OpenPrinter(const QString &name,
                                              const QString &document) override;

    QStringList printers;
    QString defaultPrinter;
    int answer = 0;         // the index chosen
    bool choosePdf = false; // choose the PDF file, the list's last entry, instead
    QStringList offered;    // the names of the last choice
    int preselected = -2;   // the entry preselected at the last choice
    QString opened;         // the printer the last document went to
    Recording record;
    double width = RecordingSurface::kWidth;
    double height = RecordingSurface::kHeight;
};

} // namespace tq::test
