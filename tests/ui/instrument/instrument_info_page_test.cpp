#include "ui/instrument/instrument_info_page.h"

#include "core/gui/flex_grid.h"
#include "core/gui/twips.h"
#include "core/instrument/clsInstrument.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "ui/instrument/page_colours.h"
#include "ui/instrument/rules/calibration_due.h"
#include "ui/main/window/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>

namespace tq {
namespace {

class InstrumentInfoPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        Globals().LimitDays = 7;
        clsInstrument &d = Globals().DefaultSettings;
        d.setGasName(0, QStringLiteral("CH4"));
        d.setGasUnit(0, QStringLiteral("%LEL"));
        d.setGasFullScale(0, 100);
        d.setGasPoint(0, 0);
        frame = new QGroupBox(&window);
        link.setSerialNo(QStringLiteral("SN1"));
        link.setStationID(QStringLiteral("ST1"));
        link.setUserID(QStringLiteral("U1"));
        link.setRomNumber(42);
        link.setGasName(0, QStringLiteral("CO"));
        link.setGasUnit(0, QStringLiteral("ppm"));
        link.setGasFullScale(0, 500);
        link.setGasPoint(0, 1);
        link.setGasEnabled(0, true);
        link.setCalLimit(90);
        link.setCalibBefore(0, 48.5f);
        link.setCalibAfter(0, 50);
        link.setAutoCalib(0, 50);
        link.setWarning(0, 25);
        link.setAlarm(0, 50);
        link.setStel(0, -101);
        link.setTwa(0, 10);
        page = new InstrumentInfoPage(frame, link);
    }

    QStringList row(const FlexGrid &grid, int r) const {
        QStringList out;
        for (int col = 0; col < grid.Cols(); ++col)
            out.append(grid.TextMatrix(r, col));
        return out;
    }
    FlexGrid &cal() { return *page->vfgInst; }
    FlexGrid &levels() { return *page->vfgInstSensor; }

    test::ScriptedDialogs dialogs;
    QWidget window;
    clsInstrument link;
    QGroupBox *frame = nullptr;
    InstrumentInfoPage *page = nullptr;
};

TEST_F(InstrumentInfoPageTest, ChoosesItsCase) {
    using S = InstrumentInfoPage::Source;
    EXPECT_EQ(InstrumentInfoPage::ChooseSource(true, 0, false), S::StoredData);
    EXPECT_EQ(InstrumentInfoPage::ChooseSource(false, 0, true), S::NoInstrument);
    EXPECT_EQ(InstrumentInfoPage::ChooseSource(false, 2, false), S::NoInstrument);
    EXPECT_EQ(InstrumentInfoPage::ChooseSource(false, 2, true), S::Connected);
}

TEST_F(InstrumentInfoPageTest, NoInstrumentShowsTheDefaultGas) {
    page->ShowInstrument(link, InstrumentInfoPage::Source::NoInstrument);
    EXPECT_EQ(frame->title(), LoadMessage(5057));
    EXPECT_EQ(page->lblInst[3]->text(), QString());
    EXPECT_EQ(cal().Cols(), 6);
    EXPECT_EQ(row(cal(), 2), (QStringList{"CH4(100%LEL)", "", "-----", "-----", "-----", ""}));
    EXPECT_EQ(row(levels(), 2), (QStringList{"CH4(100%LEL)", "-----", "-----", "-----", "-----"}));
    EXPECT_EQ(row(levels(), 1),
              (QStringList{LoadMessage(5640), LoadMessage(5642), LoadMessage(5643),
                           LoadMessage(5644), LoadMessage(5645)}));
}

TEST_F(InstrumentInfoPageTest, StoredDataHasFiveColumnsAndNoDueColumn) {
    link.setCalibDate(0, dialogs.now.addDays(-200));
    page->ShowInstrument(link, InstrumentInfoPage::Source::StoredData);
    EXPECT_EQ(frame->title(), LoadMessage(5058));
    EXPECT_EQ(page->lblInst[3]->text(), QStringLiteral("SN1"));
    EXPECT_EQ(page->lblInst[7]->text(), QStringLiteral("00042"));
    EXPECT_TRUE(page->lblInst[7]->isHidden());
    EXPECT_EQ(cal().Cols(), 5);
    EXPECT_EQ(row(cal(), 2), (QStringList{"CO(500.0ppm)", FormatValidDate(link.CalibDate(0)),
                                          "48.5", "50.0", "50.0"}));
    EXPECT_EQ(row(levels(), 2), (QStringList{"CO(500.0ppm)", "25.0", "50.0", "-----", "10.0"}));
}

TEST_F(InstrumentInfoPageTest, ConnectedDueCellByState) {
    struct Case {
        const char *what;
        double daysAgo;
        QString text;
        QColor colour;
    };
    const std::vector<Case> cases = {
        {"in time", 10, QStringLiteral("80"), QColor()},
        {"85.5 days ago: 4 left, orange", 85.5, LoadMessage(5638, {4}), PageColours::Orange},
        {"91 days ago: overdue", 91, LoadMessage(5637), PageColours::Red},
    };
    for (const Case &c : cases) {
        link.setCalibDate(0, dialogs.now.addSeconds(-qint64(c.daysAgo * 86400)));
        page->ShowInstrument(link, InstrumentInfoPage::Source::Connected);
        EXPECT_EQ(frame->title(), LoadMessage(5059)) << c.what;
        EXPECT_EQ(cal().TextMatrix(2, 5), c.text) << c.what;
        EXPECT_EQ(cal().CellBackColor(2, 5), c.colour) << c.what;
    }
    link.setCalibDate(0, Date::noDate());
    page->ShowInstrument(link, InstrumentInfoPage::Source::Connected);
    EXPECT_EQ(cal().TextMatrix(2, 1), QString());
    EXPECT_EQ(cal().TextMatrix(2, 5), QString());

    link.setGasEnabled(0, false);
    page->ShowInstrument(link, InstrumentInfoPage::Source::Connected);
    EXPECT_EQ(row(cal(), 2),
              (QStringList{"CO(500.0ppm)", "-----", "-----", "-----", "-----", "-----"}));
    EXPECT_EQ(levels().TextMatrix(2, 1), QStringLiteral("25.0"));
}

// The page fills its frame: the status frame at the top left with its labels in the middle,
// the calibration grid beside it and the alarm-level grid below, all inside the frame.
TEST_F(InstrumentInfoPageTest, LaysItselfOutInItsFrame) {
    frame->resize(TwipsToPixelsX(10000), TwipsToPixelsY(7000));
    page->layOut(10000, 7000, QStringLiteral("EN"));
    EXPECT_EQ(page->geometry(), frame->rect());
    const QRect status = page->fraInst->geometry();
    const QRect labels = page->fraInstCeneter->geometry();
    EXPECT_NEAR(labels.center().x(), status.width() / 2, 1);
    EXPECT_NEAR(labels.center().y(), status.height() / 2, 1);
    EXPECT_GT(page->vfgInst->x(), status.right());
    EXPECT_GT(page->vfgInstSensor->y(), status.bottom());
    for (const QWidget *control :
         {static_cast<QWidget *>(page->fraInst), static_cast<QWidget *>(page->vfgInst),
          static_cast<QWidget *>(page->vfgInstSensor)})
        EXPECT_TRUE(page->rect().contains(control->geometry()))
            << control->objectName().toStdString();
    const FlexGrid &grid = *page->vfgInst;
    EXPECT_NEAR(grid.columnWidth(0), (grid.width() - 2 * grid.frameWidth()) * 0.19, 1.5);
}

} // namespace
} // namespace tq
