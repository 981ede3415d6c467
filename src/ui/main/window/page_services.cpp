// The window's side of the Data and Data View pages: it makes them with the callbacks they
// need and opens the data view window for them.
#include "ui/main/window/frmMain.h"

#include "core/gui/flex_grid.h"
#include "core/gui/twips.h"
#include "core/program_state.h"
#include "ui/browser/DataPage.h"
#include "ui/common/small_icons.h"
#include "ui/dataview/frmIntermittence.h"
#include "ui/display/data_view_page.h"
#include "ui/main/window/busy_state.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace tq {

void frmMain::createBrowserPages() {
    m_dataViewPage = new DataViewPage(m_controls.fraMenu[3], m_selection,
                                      {[this] { Form_Resize(); },
                                       [this] {
                                           showPage(3);
                                           Form_Resize();
                                       },
                                       [this] {
                                           showPage(2);
                                           Form_Resize();
                                       },
                                       [this] { ShowDataViewWindow(); },
                                       [this](bool writing) {
                                           Globals().WorkState = writing ? WritingExport : Idle;
                                           if (writing)
                                               m_upload.Show();
                                           else
                                               m_upload.Unload();
                                       }});
    m_dataPage = new DataPage(m_controls.fraMenu[2], m_selection,
                              {[this] { Form_Resize(); },
                               [this](bool enabled) {
                                   for (QPushButton *button : m_controls.cmdInst)
                                       button->setEnabled(enabled);
                               },
                               [this] { m_dataViewPage->cmdDetail_Click(); },
                               [this](qint64 seqNo) { return showStoredInstrument(seqNo); }});
}

namespace {

// What the data view window takes from the window at each opening: its size, the Data View
// page's summary, options and boxes, and the trend images.
DataViewOpening DataViewOpeningOf(const QWidget &window, const DataViewPage &page) {
    DataViewOpening opening;
    opening.width = PixelsToTwipsX(window.width());
    opening.height = PixelsToTwipsY(window.height());
    opening.summaryVisible = !page.vfgSummary->isHidden();
    for (std::size_t i = 0; i < opening.options.size(); ++i)
        opening.options[i] = page.optBrowse[i]->isChecked();
    for (std::size_t i = 0; i < opening.boxes.size(); ++i)
        opening.boxes[i] = page.chkBrowse[i]->isChecked();
    opening.Interval0 = SmallIcon(QStringLiteral("Interval0"));
    opening.IntervalG = SmallIcon(QStringLiteral("IntervalG"));
    opening.Alarm0 = SmallIcon(QStringLiteral("Alarm0"));
    opening.AlarmG = SmallIcon(QStringLiteral("AlarmG"));
    return opening;
}

} // namespace

void frmMain::ShowDataViewWindow() {
    if (!m_dataViewWindow)
        m_dataViewWindow = std::make_unique<frmIntermittence>();
    m_dataViewWindow->Show(DataViewOpeningOf(*this, *m_dataViewPage));
}

} // namespace tq
