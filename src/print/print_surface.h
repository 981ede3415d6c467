#pragma once

#include <QString>

namespace tq {

class uclVtmGraph;

// What the page printers ask of a printer, in twips of its printable area measured from
// its top left: the area's size, a print position, the font (face, size, bold), the text
// colour, the pen width of lines, text sizes, text at the print position, straight lines,
// new pages and the end of the document. One implementation draws with QPainter on a
// printer or PDF file; the tests record the calls with fixed text metrics.
//
// Failures throw TqError: a page printer has no error handling of its own, the print job
// catches them and abandons the document.
class PrintSurface {
public:
    virtual ~PrintSurface() = default;

    double ScaleWidth() const { return m_width; }
    double ScaleHeight() const { return m_height; }

    double CurrentX = 0;
    double CurrentY = 0;

    QString FontName() const { return m_fontName; }
    double FontSize() const { return m_fontSize; }
    bool FontBold() const { return m_fontBold; }
    void SetFont(const QString &name, double points, bool bold);
    void SetFontSize(double points) { SetFont(m_fontName, points, m_fontBold); }
    void SetFontBold(bool bold) { SetFont(m_fontName, m_fontSize, bold); }

    // Text and lines are black on paper; the colour is kept for the record.
    unsigned ForeColor() const { return m_foreColor; }
    void SetForeColor(unsigned rgb) { m_foreColor = rgb; }
    // Pen width n of the lines is n/600 inch.
    int DrawWidth() const { return m_drawWidth; }
    void SetDrawWidth(int width) { m_drawWidth = width; }

    // Size of a text in the current font.
    virtual double TextWidth(const QString &text) const = 0;
    virtual double TextHeight(const QString &text) const = 0;

    // Prints the text with its top at the print position; the position moves right past it.
    // A text wider than a `fitWidth` above 0 is narrowed to that width.
    void Print(const QString &text, double fitWidth = 0);
    // Prints the text and ends the line: the position goes to the left edge, one text
    // line lower.
    void PrintLine(const QString &text);
    // A straight line in the current pen; the print position moves to its end.
    void Line(double x1, double y1, double x2, double y2);
    // Ends the page and starts the next one at its top left.
    void NewPage();
    // Draws the graph on the page, in the drawing rectangle its SetDraw* members give.
    virtual void DrawGraph(uclVtmGraph &graph) = 0;
    // Ends the document: it goes to the printer or its file.
    virtual void EndDoc() = 0;
    // Abandons the document: nothing of it is kept.
    virtual void Abort() = 0;

protected:
    PrintSurface(double width, double height) : m_width(width), m_height(height) {}

    // Twips a pen of the given width covers.
    static double PenTwips(int width) { return width * 1440.0 / 600.0; }

    virtual void fontChanged() = 0;
    // `scaleX` below 1 narrows the text.
    virtual void drawText(double x, double y, const QString &text, double scaleX) = 0;
    virtual void drawLine(double x1, double y1, double x2, double y2) = 0;
    virtual void newPage() = 0;

private:
    double m_width;
    double m_height;
    QString m_fontName;
    double m_fontSize = 9;
    bool m_fontBold = false;
    unsigned m_foreColor = 0;
    int m_drawWidth = 1;
};

} // namespace tq
