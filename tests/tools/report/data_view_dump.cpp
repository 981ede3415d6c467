#include "data_view_dump.h"

#include "core/gui/flex_grid.h"
#include "core/gui/layout_geometry.h"
#include "graph/uclVtmGraph.h"
#include "ui/common/small_icons.h"
#include "ui/dataview/frmIntermittence.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QRadioButton>

#include <array>

namespace tq::report {

namespace {

const std::array<const char *, 21> kControls{
    "fraMenu",     "optBrowse_0", "optBrowse_1", "chkEvent",    "vfgSummary",  "vfgBrowse",
    "vtmGraph",    "chkBrowse_0", "chkBrowse_1", "chkBrowse_2", "chkBrowse_3", "chkBrowse_4",
    "chkBrowse_5", "chkBrowse_6", "lblTitle_1",  "cmbBrowse",   "cmdBrowse_0", "cmdBrowse_1",
    "cmdBrowse_2", "cmdBrowse_3", "cmdBrowse_4"};

QString flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// Which of the opener's trend images the window took as its icon.
QString iconName(const QIcon &icon) {
    if (icon.isNull())
        return QStringLiteral("none");
    const QImage shown = icon.pixmap(16, 16).toImage();
    for (const char *key : {"Interval0", "IntervalG", "Alarm0", "AlarmG"})
        if (SmallIcon(QLatin1String(key)).pixmap(16, 16).toImage() == shown)
            return QLatin1String(key);
    return QStringLiteral("other");
}

QString twips(double value) {
    return QString::number(qRound(value));
}

void writeControl(const QWidget &control, const QString &name, QTextStream &out) {
    out << "geometry." << name << '=' << twips(L(&control)) << ',' << twips(T(&control)) << ','
        << twips(W(&control)) << ',' << twips(H(&control)) << '\n';
    out << "visible." << name << '=' << flag(control.isVisible()) << '\n';
    if (const auto *button = qobject_cast<const QAbstractButton *>(&control)) {
        if (button->isCheckable())
            out << "checked." << name << '=' << flag(button->isChecked()) << '\n';
        out << "text." << name << '=' << button->text() << '\n';
    } else if (const auto *label = qobject_cast<const QLabel *>(&control)) {
        out << "text." << name << '=' << label->text() << '\n';
    }
}

// The rows with a cell of a colour of its own.
QStringList colouredRows(const FlexGrid &grid) {
    QStringList rows;
    for (int r = 0; r < grid.Rows(); ++r)
        for (int c = 0; c < grid.Cols(); ++c)
            if (grid.CellBackColor(r, c).isValid()) {
                rows << QString::number(r);
                break;
            }
    return rows;
}

} // namespace

QString DataViewDumpKeys() {
    QStringList names;
    for (const char *name : kControls)
        names << QLatin1String(name);
    return QStringLiteral(
               "dataview --dump writes one key=value a line:\n"
               "  title, caption     the window's title and the frame's caption\n"
               "  view               table or graph, the one shown\n"
               "  graphEnabled       1 when the Graph option is enabled, else 0\n"
               "  icon               the opener's image the window took: Interval0, IntervalG,\n"
               "                     Alarm0 or AlarmG; other or none\n"
               "  summary.ROW.COL    a cell of the summary grid\n"
               "  rows               the record table's rows, the heading row included\n"
               "  colouredRows       the table's rows with a cell of a colour of its own, ROW,...\n"
               "  topRow, bottomRow  the first and the last table row in view\n"
               "  zoom               the zoom list's entries, ENTRY,...\n"
               "  geometry.NAME      left,top,width,height in twips (fraMenu in the window, the\n"
               "                     others in fraMenu)\n"
               "  visible.NAME       1 shown, 0 hidden\n"
               "  checked.NAME       options and boxes: 1 on, 0 off\n"
               "  text.NAME          options, boxes, buttons and the zoom label: the caption\n"
               "  NAME: ") +
           names.join(QLatin1Char(' '));
}

void WriteDataViewState(const frmIntermittence &window, QTextStream &out) {
    out << "title=" << window.windowTitle() << '\n';
    out << "caption=" << window.fraMenu->title() << '\n';
    out << "view="
        << (window.vtmGraph->isVisible() ? QStringLiteral("graph") : QStringLiteral("table"))
        << '\n';
    out << "graphEnabled=" << flag(window.optBrowse[1]->isEnabled()) << '\n';
    out << "icon=" << iconName(window.windowIcon()) << '\n';
    const FlexGrid &summary = *window.vfgSummary;
    for (int r = 0; r < summary.Rows(); ++r)
        for (int c = 0; c < summary.Cols(); ++c)
            out << "summary." << r << '.' << c << '=' << summary.TextMatrix(r, c) << '\n';
    const FlexGrid &table = *window.vfgBrowse;
    out << "rows=" << table.Rows() << '\n';
    out << "colouredRows=" << colouredRows(table).join(QLatin1Char(',')) << '\n';
    out << "topRow=" << table.TopRow() << '\n';
    out << "bottomRow=" << table.BottomRow() << '\n';
    QStringList zoom;
    for (int i = 0; i < window.cmbBrowse->count(); ++i)
        zoom << window.cmbBrowse->itemText(i);
    out << "zoom=" << zoom.join(QLatin1Char(',')) << '\n';
    for (const char *name : kControls)
        if (const auto *control = window.findChild<const QWidget *>(QLatin1String(name)))
            writeControl(*control, QLatin1String(name), out);
    out.flush();
}

} // namespace tq::report
