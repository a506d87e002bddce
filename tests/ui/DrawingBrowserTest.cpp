// The drawing pages of the content panel show the directory's drawings the core loaded and
// forward the user's clicks: the grid pages and selects, the detail list follows it, a
// double-click asks for the insertion, a right-click opens the viewer, and the options dialog
// writes only on OK.

#include "UiSupport.h"
#include "browser/ui/DetailDlg.h"
#include "browser/ui/ImageViewDlg.h"
#include "browser/ui/OptionsDlg.h"
#include "browser/ui/PictureCtrl.h"
#include "browser/ui/PreviewDlg.h"
#include "navigation/ui/ContentTabDlg.h"
#include "navigation/ui/DirTreeDlg.h"
#include "navigation/ui/NavTabDlg.h"
#include "platform/Paths.h"

#include <QComboBox>
#include <QImage>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace orv::test {

class DrawingBrowserTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<Reader> m_reader;

    CContentTabDlg* Panel() const { return m_reader->Window->ContentPanel(); }
    ReaderState& State() const { return m_reader->State; }

    void Choose(const QString& name)
    {
        QTreeWidget* tree = m_reader->Window->NavigationPanel()->TreePage()->Tree();
        const QList<QTreeWidgetItem*> found = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        QVERIFY2(!found.isEmpty(), qPrintable(name));
        QTRY_VERIFY_WITH_TIMEOUT(State().ContentViewReady, 15000);
        tree->setCurrentItem(found.first());
    }

    QStringList TabTexts() const
    {
        QStringList texts;
        for (int i = 0; i < Panel()->Tabs()->count(); ++i)
            texts << Panel()->Tabs()->tabText(i);
        return texts;
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TempFolder>();
        const std::string app = CopyDemoFolder(*m_folder);
        QVERIFY2(!app.empty(), "the demo application folder could not be made");
        m_reader = OpenReader(app);
        QVERIFY2(m_reader->Started, "the reader did not show its first tree");
    }

    void cleanup()
    {
        m_reader.reset();
        m_folder.reset();
    }

    void drawingTabsFollowTheDirectoryAndTheGridPagesAndSelects()
    {
        Choose(QStringLiteral("法兰盖 GB/T 9123"));
        const std::size_t count = State().Drawings.Size();
        QCOMPARE(TabTexts(), (QStringList { "内容", "图集浏览", "图集详细" }));
        CPreviewDlg* grid = Panel()->GridPage();
        QVERIFY(grid);
        QCOMPARE(Panel()->Tabs()->currentWidget(), grid);
        // The demo's 3 x 4 grid: two pages, the first full.
        const int perPage = grid->Settings().Rows * grid->Settings().Columns;
        QCOMPARE(perPage, 12);
        QVERIFY(count > 12 && count < 24);
        QCOMPARE(grid->PageCount(), 2);
        QVERIFY(grid->CellPicture(11));
        QVERIFY(grid->CellPicture(0)->Loaded());
        QCOMPARE(State().Drawings.SelectedDrawingIndex, 0);
        QVERIFY(grid->Combo()->itemText(0).startsWith(QStringLiteral("1/%1 ").arg(count)));
        SaveScreenshot(m_reader->Window.get(), QStringLiteral("drawing-grid"));

        // A click selects; the detail list follows with the same row.
        QTest::mouseClick(grid, Qt::LeftButton, {}, grid->CellRect(4).center());
        QCOMPARE(State().Drawings.SelectedDrawingIndex, 4);
        CDetailDlg* detail = Panel()->DetailPage();
        QCOMPARE(detail->List()->indexOfTopLevelItem(detail->List()->currentItem()), 4);
        // The selected cell's caption is drawn on the selection colour, the others' are not.
        const QImage drawn = grid->grab().toImage();
        QCOMPARE(drawn.pixelColor(grid->CaptionRect(4).topLeft() + QPoint(1, 0)), QColor(0, 0, 128));
        QVERIFY(drawn.pixelColor(grid->CaptionRect(5).topLeft() + QPoint(1, 0)) != QColor(0, 0, 128));

        // Keys move the selection and turn pages.
        QTest::keyClick(grid, Qt::Key_Right);
        QCOMPARE(State().Drawings.SelectedDrawingIndex, 5);
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(State().Drawings.SelectedDrawingIndex, 9);

        // The next page shows the rest and hides the cells past the end.
        auto* next = grid->findChild<QToolButton*>(QStringLiteral("ctl1006"));
        QVERIFY(next->isEnabled());
        next->click();
        QCOMPARE(grid->Page(), 1);
        QVERIFY(!next->isEnabled());
        QCOMPARE(State().Drawings.SelectedDrawingIndex, 12);
        QVERIFY(!grid->CellPicture(11));
        QTest::keyClick(grid, Qt::Key_PageUp);
        QCOMPARE(grid->Page(), 0);
        QTest::keyClick(grid, Qt::Key_PageDown);
        QCOMPARE(grid->Page(), 1);

        // A row chosen in the detail list moves the grid to its page.
        Panel()->Tabs()->setCurrentWidget(detail);
        detail->List()->setCurrentItem(detail->List()->topLevelItem(2));
        QCOMPARE(State().Drawings.SelectedDrawingIndex, 2);
        QCOMPARE(grid->Page(), 0);
        QVERIFY(grid->Combo()->itemText(0).startsWith(QStringLiteral("3/%1 ").arg(count)));
        QVERIFY(detail->DataSheet()->topLevelItemCount() > 0);
        SaveScreenshot(m_reader->Window.get(), QStringLiteral("drawing-detail"));

        // A directory without drawings keeps only the content tab, and nothing stays selected.
        Choose(QStringLiteral("螺栓"));
        QCOMPARE(TabTexts(), QStringList { "内容" });
        QCOMPARE(Panel()->GridPage(), nullptr);
        QCOMPARE(State().Drawings.SelectedDrawingID, -1);
    }

    void doubleClickAsksForTheInsertionAndRightClickOpensTheViewer()
    {
        Choose(QStringLiteral("平垫圈 GB/T 97.1"));
        CPreviewDlg* grid = Panel()->GridPage();
        QVERIFY(grid);
        {
            MessageRecorder messages;
            QTest::mouseDClick(grid, Qt::LeftButton, {}, grid->CellRect(1).center());
            QCOMPARE(State().Drawings.SelectedDrawingIndex, 1);
            // The demo relay takes the insertion: nothing to tell.
            QVERIFY(messages.Messages().empty());
        }
        auto caption = [grid](int k) { return QString::fromStdString(grid->ShownPage().Cells[static_cast<std::size_t>(k)].Caption); };
        QTest::mouseClick(grid, Qt::RightButton, {}, grid->CellRect(2).center());
        CImageViewDlg* viewer = m_reader->Window->Viewer();
        QVERIFY(viewer && viewer->isVisible());
        QCOMPARE(viewer->windowTitle(), caption(2));
        QVERIFY(!viewer->WebMode());
        QVERIFY(viewer->Picture()->Picture().Loaded());
        // The same window serves the next picture.
        QTest::mouseClick(grid, Qt::RightButton, {}, grid->CellRect(3).center());
        QCOMPARE(m_reader->Window->Viewer(), viewer);
        QCOMPARE(viewer->windowTitle(), caption(3));
        // Closed, it remembers its place.
        viewer->move(40, 60);
        viewer->close();
        QTRY_VERIFY(!m_reader->Window->Viewer());
        const std::string ini = ReadFile(platform::NativePath(State().IniPath));
        QVERIFY2(ini.find("[VIEWIMAGE]") != std::string::npos, ini.c_str());
    }

    void optionsDialogWritesOnlyOnOkAndTheGridFollows()
    {
        Choose(QStringLiteral("平垫圈 GB/T 97.1"));
        const std::string before = ReadFile(platform::NativePath(State().IniPath));
        {
            COptionsDlg dialog(State());
            // The demo's stored grid size.
            QCOMPARE(dialog.findChild<QComboBox*>(QStringLiteral("ctl1010"))->currentText(), QStringLiteral("3"));
            QCOMPARE(dialog.findChild<QComboBox*>(QStringLiteral("ctl1011"))->currentText(), QStringLiteral("4"));
            dialog.findChild<QPushButton*>(QStringLiteral("ctl2"))->click();
        }
        QCOMPARE(ReadFile(platform::NativePath(State().IniPath)), before);
        {
            COptionsDlg dialog(State());
            dialog.findChild<QComboBox*>(QStringLiteral("ctl1010"))->setCurrentIndex(1);
            dialog.findChild<QComboBox*>(QStringLiteral("ctl1011"))->setCurrentIndex(2);
            dialog.findChild<QPushButton*>(QStringLiteral("ctl1"))->click();
            QVERIFY(dialog.Written());
        }
        const std::string after = ReadFile(platform::NativePath(State().IniPath));
        QVERIFY2(after.find("Row=2") != std::string::npos && after.find("Col=3") != std::string::npos, after.c_str());
        Panel()->RefreshDrawings();
        QCOMPARE(Panel()->GridPage()->Settings().Rows, 2);
        QCOMPARE(Panel()->GridPage()->PageCount(), static_cast<int>((State().Drawings.Size() + 5) / 6));
    }
};

QObject* NewDrawingBrowserTest()
{
    return new DrawingBrowserTest;
}

} // namespace orv::test

#include "DrawingBrowserTest.moc"
