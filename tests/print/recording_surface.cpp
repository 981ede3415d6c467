#include "recording_surface.h"

#include "core/errors.h"
#include "graph/uclVtmGraph.h"

#include <algorithm>
#include <map>

namespace tq::test {

int Recording::pages() const {
    int last = 0;
    for (const PrintCall &call : calls)
        last = std::max(last, call.page);
    return last;
}

QList<PrintCall> Recording::of(PrintCall::Kind kind) const {
    QList<PrintCall> out;
    for (const PrintCall &call : calls) {
        if (call.kind == kind)
            out.append(call);
    }
    return out;
}

QStringList Recording::texts() const {
    QStringList out;
    for (const PrintCall &call : of(PrintCall::Text))
        out.append(call.text);
    return out;
}

QStringList Recording::lines(int page) const {
    std::map<double, std::map<double, QString>> byY;
    for (const PrintCall &call : of(PrintCall::Text)) {
        if (call.page == page)
            byY[call.y][call.x] = call.text;
    }
    QStringList out;
    for (const auto &[y, row] : byY) {
        QStringList cells;
        for (const auto &[x, text] : row)
            cells.append(text);
        out.append(cells.join(QLatin1Char('|')));
    }
    return out;
}

PrintCall Recording::find(const QString &text, int nth) const {
    for (const PrintCall &call : of(PrintCall::Text)) {
        if (call.text == text && --nth == 0)
            return call;
    }
    return {};
}

PrintCall Recording::after(const QString &text, int nth, int offset) const {
    const QList<PrintCall> texts = of(PrintCall::Text);
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (texts[i].text == text && --nth == 0)
            return i + offset < texts.size() ? texts[i + offset] : PrintCall();
    }
    return {};
}

RecordingSurface::RecordingSurface(Recording &record, double width, double height)
    : PrintSurface(width, height), m_record(record) {
    SetFont(QStringLiteral("Default"), 9, false);
}

double RecordingSurface::TextWidth(const QString &text) const {
    return double(text.size()) * FontSize() * 10;
}

double RecordingSurface::TextHeight(const QString &) const {
    return FontSize() * 20;
}

void RecordingSurface::add(PrintCall call) {
    call.page = m_page;
    call.font = FontName();
    call.size = FontSize();
    call.bold = FontBold();
    call.pen = DrawWidth();
    call.color = ForeColor();
    if (m_record.failAt > 0 && call.kind == m_record.failKind && ++m_failCount == m_record.failAt)
        throw TqError(ErrorKind::File, QStringLiteral("the printer went away"));
    m_record.calls.append(call);
}

void RecordingSurface::drawText(double x, double y, const QString &text, double scaleX) {
    PrintCall call;
    call.kind = PrintCall::Text;
    call.scaleX = scaleX;
    call.x = x;
    call.y = y;
    call.text = text;
    add(call);
}

void RecordingSurface::drawLine(double x1, double y1, double x2, double y2) {
    PrintCall call;
    call.kind = PrintCall::Line;
    call.x = x1;
    call.y = y1;
    call.x2 = x2;
    call.y2 = y2;
    add(call);
}

void RecordingSurface::newPage() {
    PrintCall call;
    call.kind = PrintCall::Page;
    add(call);
    ++m_page;
}

void RecordingSurface::DrawGraph(uclVtmGraph &graph) {
    PrintCall call;
    call.kind = PrintCall::Graph;
    call.x = graph.SetDrawLeft;
    call.y = graph.SetDrawTop;
    call.x2 = graph.SetDrawWidth;
    call.y2 = graph.SetDrawHeight;
    call.text = graph.TitleTop;
    add(call);
}

void RecordingSurface::EndDoc() {
    PrintCall call;
    call.kind = PrintCall::End;
    add(call);
    m_record.ended = true;
}

void RecordingSurface::Abort() {
    m_record.aborted = true;
}

FakePrinters::FakePrinters(QStringList printers, QString defaultPrinter)
    : printers(std::move(printers)), defaultPrinter(std::move(defaultPrinter)) {
    SetPrinterSystem(this);
}

FakePrinters::~FakePrinters() {
    SetPrinterSystem(nullptr);
}

int FakePrinters::ChoosePrinter(const QStringList &names, int pre) {
    offered = names;
    preselected = pre;
    return choosePdf ? int(names.size()) - 1 : answer;
}

std::unique_ptr<PrintSurface> FakePrinters::OpenPrinter(const QString &name, const QString &) {
    opened = name;
    record = Recording{{}, false, false, record.failKind, record.failAt};
    return std::make_unique<RecordingSurface>(record, width, height);
}

} // namespace tq::test
