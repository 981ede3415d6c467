// Every page of the main window and every dialog, at the first-start size and a larger
// one, in the active language (the binary runs once in English and once in Japanese): no
// caption is wider or taller than its control, the heading rows of every grid are shown,
// and the Data page's Instrument button is never covered.
#include "core/database.h"
#include "core/gui/twips.h"
#include "core/messages.h"
#include "main_window_fixture.h"
#include "print/frmSetPrinter.h"
#include "ui/browser/DataPage.h"
#include "ui/browser/password/frmPassword.h"
#include "ui/common/caption_button.h"
#include "ui/dataview/frmIntermittence.h"
#include "ui/display/data_view_page.h"
#include "ui/instrument/frmFsDialog.h"
#include "ui/main/import_pipeline.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace tq {
namespace {

struct ScreenSize {
    int width;
    int height;
};

// The text a caption shows: "&&" is one ampersand, a single "&" marks the access key.
QString shownText(QString text) {
    static const QRegularExpression accessKey(QStringLiteral("&(.)"));
    return text.replace(accessKey, QStringLiteral("\\1"));
}

QSize textSize(const QFontMetrics &metrics, const QString &text) {
    return metrics.boundingRect(QRect(), Qt::TextShowMnemonic, text).size();
}

// Whether the ink of a one-line text, placed in `area` as the style places it, stays in
// `area`: fonts with tall line boxes (Japanese ones) may overhang a low control with the
// blank part of their line, which cuts nothing.
bool inkFits(const QWidget *w, const QRect &area, int alignment, const QString &text) {
    const QFontMetrics metrics(w->font());
    if (text.contains(QLatin1Char('\n')))
        return textSize(metrics, text).height() <= area.height() &&
               textSize(metrics, text).width() <= area.width();
    const QRect line = w->style()->itemTextRect(metrics, area, alignment, true, text);
    const QRect ink =
        metrics.tightBoundingRect(text).translated(line.left(), line.top() + metrics.ascent());
    // A glyph's side bearing may reach a pixel out of its advance without being cut.
    return ink.left() >= area.left() - 1 && ink.right() <= area.right() + 1 &&
           ink.top() >= area.top() && ink.bottom() <= area.bottom();
}

// What is wrong with the captions and grids of the visible controls under `root`, one line
// per fault, each naming the control.
QStringList fitFaults(const QWidget *root) {
    QStringList faults;
    const auto fault = [&faults](const QWidget *w, const QString &what) {
        faults << w->objectName() + QStringLiteral(": ") + what;
    };
    QList<const QWidget *> widgets{root};
    for (const QWidget *w : root->findChildren<QWidget *>())
        widgets << w;
    for (const QWidget *w : widgets) {
        if (!w->isVisible() || w->objectName().isEmpty())
            continue;
        const QFontMetrics metrics(w->font());
        if (const auto *box = qobject_cast<const QCheckBox *>(w);
            box || qobject_cast<const QRadioButton *>(w)) {
            const auto *button = static_cast<const QAbstractButton *>(w);
            if (!button->text().isEmpty() && button->sizeHint().width() > button->width())
                fault(w, QStringLiteral("caption \"%1\" needs %2 px of %3")
                             .arg(button->text())
                             .arg(button->sizeHint().width())
                             .arg(button->width()));
        } else if (const auto *button = qobject_cast<const CaptionButton *>(w)) {
            // Wraps onto more lines when one is too narrow: then each word fits the width
            // and the lines the height.
            const QRect room = button->rect().adjusted(2, 0, -2, 0);
            const QString text = shownText(button->text());
            if (metrics.horizontalAdvance(text) <= room.width()) {
                if (!inkFits(w, room, Qt::AlignCenter, text))
                    fault(w, QStringLiteral("caption \"%1\" cut at %2x%3")
                                 .arg(text)
                                 .arg(room.width())
                                 .arg(room.height()));
                continue;
            }
            int widest = 0;
            for (const QString &word : text.split(QRegularExpression(QStringLiteral("\\s+"))))
                widest = std::max(widest, metrics.horizontalAdvance(word));
            const int height = metrics.boundingRect(room, Qt::TextWordWrap, text).height();
            if (widest > room.width() || height > room.height())
                fault(w, QStringLiteral("caption \"%1\" needs %2x%3 px of %4x%5")
                             .arg(text)
                             .arg(widest)
                             .arg(height)
                             .arg(room.width())
                             .arg(room.height()));
        } else if (const auto *button = qobject_cast<const QPushButton *>(w)) {
            const QString text = shownText(button->text());
            if (!text.isEmpty() &&
                !inkFits(w, button->rect().adjusted(2, 0, -2, 0), Qt::AlignCenter, text))
                fault(w, QStringLiteral("caption \"%1\" needs %2 px of %3x%4")
                             .arg(text)
                             .arg(metrics.horizontalAdvance(text))
                             .arg(button->width())
                             .arg(button->height()));
        } else if (const auto *label = qobject_cast<const QLabel *>(w)) {
            if (label->text().isEmpty() || label->textFormat() == Qt::RichText)
                continue;
            const QRect room = label->contentsRect();
            const bool fits = label->wordWrap()
                                  ? label->heightForWidth(room.width()) <= room.height()
                                  : inkFits(w, room, int(label->alignment()), label->text());
            if (!fits)
                fault(w, QStringLiteral("text \"%1\" needs %2 px of %3x%4")
                             .arg(label->text())
                             .arg(metrics.horizontalAdvance(label->text()))
                             .arg(room.width())
                             .arg(room.height()));
        } else if (const auto *frame = qobject_cast<const QGroupBox *>(w)) {
            const int need = metrics.horizontalAdvance(shownText(frame->title())) + 16;
            if (!frame->title().isEmpty() && need > frame->width())
                fault(w, QStringLiteral("title \"%1\" needs %2 px of %3")
                             .arg(frame->title())
                             .arg(need)
                             .arg(frame->width()));
        } else if (const auto *grid = qobject_cast<const FlexGrid *>(w)) {
            if (grid->FixedRows() == 0 || grid->Rows() == 0)
                continue;
            const auto *heads = grid->findChild<QWidget *>(QStringLiteral("FlexGridHeadings"),
                                                           Qt::FindDirectChildrenOnly);
            if (heads == nullptr || !heads->isVisible() || heads->height() <= 0 ||
                !grid->rect().contains(heads->geometry()))
                fault(w, QStringLiteral("heading rows hidden"));
            if (grid->horizontalScrollBar()->isVisible())
                fault(w, QStringLiteral("horizontal scroll bar"));
        }
    }
    return faults;
}

class ScreenFitTest : public test::MainWindowTest,
                      public ::testing::WithParamInterface<ScreenSize> {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        load();
        const ImportRun run = RunImports(test::BuildImage(QStringLiteral("data_view")),
                                         std::make_shared<clsInstrument>(), ProgramStoreContext());
        ASSERT_TRUE(run.EveryImportSucceeded());
        window->dataPage().setLogTreeStale(true);
        window->resize(GetParam().width, GetParam().height);
        settle();
    }

    // With TQ6200_SCREENSHOTS naming a folder, each screen checked is saved there too, to
    // be looked at.
    void expectFits(QWidget *root, const QString &where) {
        if (const QString folder = qEnvironmentVariable("TQ6200_SCREENSHOTS"); !folder.isEmpty()) {
            QString name = QLocale::system().name() + QLatin1Char(' ') + where;
            name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_]+")), QStringLiteral("-"));
            root->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
        }
        const QStringList faults = fitFaults(root);
        EXPECT_TRUE(faults.isEmpty())
            << where.toStdString() << ":\n  " << faults.join(QStringLiteral("\n  ")).toStdString();
    }

    // The Instrument button is the topmost control at each of its corners.
    void expectInstrumentButtonUncovered(const QString &where) {
        const QPushButton *button = window->dataPage().cmdLogInst;
        ASSERT_TRUE(button->isVisible()) << where.toStdString();
        const QRect area(button->mapTo(window.get(), QPoint(0, 0)), button->size());
        for (const QPoint &corner :
             {area.topLeft() + QPoint(2, 2), area.topRight() + QPoint(-2, 2),
              area.bottomLeft() + QPoint(2, -2), area.bottomRight() + QPoint(-2, -2)}) {
            const QWidget *top = window->childAt(corner);
            EXPECT_TRUE(top == button || button->isAncestorOf(top))
                << where.toStdString() << ": covered by "
                << (top ? top->objectName().toStdString() : std::string("nothing"));
        }
        EXPECT_TRUE(window->rect().contains(area)) << where.toStdString();
    }

    // Every log type of the tree, chosen on the Data page and shown by View Data.
    std::vector<int> storedTypes() {
        std::vector<int> types;
        for (const LogTreeNode &node : window->dataPage().tree().nodes())
            if (node.type && std::find(types.begin(), types.end(), node.type) == types.end())
                types.push_back(node.type);
        return types;
    }
    void chooseTypeFolder(int type) {
        DataPage &page = window->dataPage();
        for (const LogTreeNode &node : page.tree().nodes()) {
            if (node.type != type)
                continue;
            for (QTreeWidgetItemIterator it(page.tvwLog); *it; ++it)
                if (DataPage::keyOf(*it) == node.key) {
                    page.tvwLog->setCurrentItem(*it);
                    page.tvwLog_NodeClick(*it);
                    return;
                }
        }
    }

    QString at(const QString &what) const {
        return QStringLiteral("%1 at %2x%3").arg(what).arg(GetParam().width).arg(GetParam().height);
    }
};

TEST_P(ScreenFitTest, EveryPageOfTheWindow) {
    for (int button : {0, 1, 3, 4}) {
        window->cmdInst_Click(button);
        settle();
        expectFits(window.get(), at(QStringLiteral("menu button %1").arg(button)));
    }
    window->cmdInst_Click(2);
    settle();
    expectFits(window.get(), at(QStringLiteral("Data page")));
    expectInstrumentButtonUncovered(at(QStringLiteral("Data page")));
    for (int type : storedTypes()) {
        window->cmdInst_Click(2);
        chooseTypeFolder(type);
        settle();
        expectFits(window.get(), at(QStringLiteral("Data page, type %1 listed").arg(type)));
        expectInstrumentButtonUncovered(at(QStringLiteral("Data page, type %1").arg(type)));
        window->dataPage().cmdDetail->click();
        settle();
        expectFits(window.get(), at(QStringLiteral("Data View page, type %1").arg(type)));
        for (QRadioButton *view : window->dataViewPage().optBrowse) {
            if (!view->isVisible() || !view->isEnabled())
                continue;
            view->click();
            settle();
            expectFits(window.get(), at(QStringLiteral("Data View page, type %1, view %2")
                                            .arg(type)
                                            .arg(view->objectName())));
        }
    }
}

TEST_P(ScreenFitTest, EveryDialog) {
    frmFsDialog detail(window.get());
    frmPassword password(window.get());
    frmSetPrinter printer({QStringLiteral("PDF file")}, 0, window.get());
    for (QWidget *dialog : std::initializer_list<QWidget *>{&detail, &password, &printer}) {
        dialog->show();
        settle();
        expectFits(dialog, at(dialog->objectName()));
        dialog->hide();
    }
}

TEST_P(ScreenFitTest, TheDataViewWindowInBothViews) {
    Globals().ViewKind = 2;
    Globals().ViewSeqNo =
        Database(Globals().DatabasePath)
            .scalar(QStringLiteral("Select Min(SeqNo) From Log_head Where Types = 2"))
            .toLongLong();
    ASSERT_GT(Globals().ViewSeqNo, 0);
    for (bool graph : {false, true}) {
        frmIntermittence dataView;
        DataViewOpening opening;
        opening.width = PixelsToTwipsX(GetParam().width);
        opening.height = PixelsToTwipsY(GetParam().height);
        opening.options = {!graph, graph};
        dataView.Form_Load(opening);
        dataView.show();
        settle();
        expectFits(&dataView, at(graph ? QStringLiteral("data view window, graph")
                                       : QStringLiteral("data view window, table")));
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ScreenFitTest,
                         ::testing::Values(ScreenSize{776, 550}, ScreenSize{1280, 800}),
                         [](const auto &info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

} // namespace
} // namespace tq
