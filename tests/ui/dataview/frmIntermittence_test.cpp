#include "core/database.h"
#include "core/gui/flex_grid.h"
#include "core/log_schema.h"
#include "core/messages.h"
#include "core/program_state.h"
#include "program_folder.h"
#include "test_support.h"
#include "ui/dataview/frmIntermittence.h"
#include "ui/main/import_pipeline.h"
#include "ui/main/window/scripted_dialogs.h"

#include <QDir>
#include <QPushButton>
#include <QTimer>

namespace tq {
namespace {

class IntermittenceWindowTest : public test::TempFolderTest {
protected:
    void SetUp() override {
        test::UseProgramFolder(dir.path());
        CreateLogDatabase(Globals().DatabasePath);
        ASSERT_TRUE(RunImports(test::BuildImage(QStringLiteral("data_view")),
                               std::make_shared<clsInstrument>(), ProgramStoreContext())
                        .EveryImportSucceeded());
    }
    test::ScriptedDialogs dialogs;
};

TEST_F(IntermittenceWindowTest, ShowsTheAlarmTrendHandedOverAndReturnCloses) {
    ProgramState &g = Globals();
    g.ViewKind = 2;
    g.ViewSeqNo = Database(g.DatabasePath)
                      .scalar(QStringLiteral("Select Min(SeqNo) From Log_head Where Types = 2"))
                      .toLongLong();
    frmIntermittence window;
    EXPECT_EQ(window.parent(), nullptr);
    // Return closes the modal window once it is up.
    QTimer::singleShot(0, &window, [&] { window.cmdBrowse[4]->click(); });
    window.Show({});
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.alarm().SeqNo(), g.ViewSeqNo);
    EXPECT_EQ(window.vfgBrowse->Rows(), 721);
    EXPECT_EQ(window.cmdBrowse[4]->text(), LoadMessage(9101));
    EXPECT_TRUE(dialogs.shown.isEmpty());

    // A log it cannot read is said so, and the window opens on an empty alarm trend.
    g.DatabasePath = dir.path(); // a folder, no database
    QTimer::singleShot(0, &window, [&] { window.cmdBrowse[4]->click(); });
    EXPECT_EQ(window.Show({}), int(QDialog::Accepted));
    EXPECT_EQ(dialogs.ids(), QList<int>({30201}));
    EXPECT_EQ(window.alarm().DataCount(), 0);
    EXPECT_EQ(window.vfgBrowse->Rows(), 1);
}

} // namespace
} // namespace tq
