// One reader session from start to close on a fresh copy of the demo application folder, as a
// user walks it: the real window, panels and web engine, each step leaving a screenshot. The
// steps run in order and share the reader; a failed step makes the later ones fail too.

#include "UiSupport.h"
#include "app/MainToolbar.h"
#include "app/ui/SplashDlg.h"
#include "browser/ui/ImageViewDlg.h"
#include "browser/ui/OptionsDlg.h"
#include "browser/ui/PictureCtrl.h"
#include "browser/ui/PreviewDlg.h"
#include "content/ui/ContentView.h"
#include "content/ui/LocalContentScheme.h"
#include "controls/FlatComboBox.h"
#include "controls/FlatToolBar.h"
#include "navigation/ui/BookmarkDlg.h"
#include "navigation/ui/ContentTabDlg.h"
#include "navigation/ui/DirTreeDlg.h"
#include "navigation/ui/NavTabDlg.h"
#include "navigation/ui/SearchDlg.h"
#include "platform/Paths.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QWebEnginePage>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace orv::test {
namespace {

// Taken from the screen where there is one: a widget grab leaves the web view blank.
void Shot(QWidget* window, const QString& name)
{
    QApplication::processEvents();
    QTest::qWait(300);
    QPixmap shot;
    if (QScreen* screen = window->screen();
        screen && QGuiApplication::platformName() != QLatin1String("offscreen"))
        shot = screen->grabWindow(window->winId());
    if (shot.isNull())
        shot = window->grab();
    QDir().mkpath(QStringLiteral(ORV_UI_SCREENSHOTS));
    QVERIFY(shot.save(QStringLiteral(ORV_UI_SCREENSHOTS "/%1.png").arg(name), "PNG"));
}

} // namespace

class WholeRoadTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempFolder> m_folder;
    std::string m_app;
    std::unique_ptr<Reader> m_reader;

    CORVBookDlg* Window() const { return m_reader->Window.get(); }
    ReaderState& State() const { return m_reader->State; }
    CNavTabDlg* Nav() const { return Window()->NavigationPanel(); }
    CContentTabDlg* Panel() const { return Window()->ContentPanel(); }
    QTreeWidget* Tree() const { return Nav()->TreePage()->Tree(); }

    void Select(const QString& name)
    {
        Nav()->ShowPage(0);
        const QList<QTreeWidgetItem*> found = Tree()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        QVERIFY2(!found.isEmpty(), qPrintable(name));
        QTRY_VERIFY_WITH_TIMEOUT(State().ContentViewReady, 15000);
        Tree()->setCurrentItem(found.first());
        QCOMPARE(Tree()->currentItem()->text(0), name);
    }

    // The main view has loaded a page and holds the text.
    bool PageShows(const QString& text)
    {
        CContentView* view = Panel()->View();
        if (!view || !State().ContentViewReady)
            return false;
        return RunScript(*view, QStringLiteral("document.body ? document.body.innerText : ''"))
            .toString()
            .contains(text);
    }

    void Restart()
    {
        {
            MessageRecorder messages(1);
            QVERIFY(Window()->close());
            QCOMPARE(messages.Messages().size(), std::size_t(1));
            QCOMPARE(messages.Messages()[0].Text, std::string("是否退出？"));
        }
        m_reader.reset();
        m_reader = OpenReader(m_app);
        QVERIFY2(m_reader->Started, "the reader did not start again");
    }

private slots:
    void initTestCase()
    {
        m_folder = std::make_unique<TempFolder>();
        m_app = CopyDemoFolder(*m_folder);
        QVERIFY2(!m_app.empty(), "the demo application folder could not be made");
        // Nothing of an earlier run's pictures is shown as this run's.
        std::filesystem::remove_all(ORV_UI_SCREENSHOTS);
    }

    void cleanupTestCase()
    {
        m_reader.reset();
        m_folder.reset();
    }

    void startShowsTheSplashAndTheFirstTree()
    {
        {
            CSplashDlg splash(m_app);
            splash.show();
            QVERIFY(QTest::qWaitForWindowExposed(&splash));
            QVERIFY(!splash.UsesOwnPicture()); // the folder's own start-up picture
            Shot(&splash, QStringLiteral("01-splash"));
        }
        m_reader = OpenReader(m_app);
        QVERIFY2(m_reader->Started, "the reader did not show its first tree");
        QVERIFY(Tree()->topLevelItemCount() > 0);
        QCOMPARE(Nav()->GalleryChooser()->currentText(), QStringLiteral("机械零件图库"));
        // The first directory shows the gallery's own introduction.
        QTRY_VERIFY_WITH_TIMEOUT(PageShows(QStringLiteral("本图库收录")), 20000);
        Shot(Window(), QStringLiteral("02-first-tree"));
    }

    void secondGalleryAndBack()
    {
        QSignalSpy shown(Window(), &CORVBookDlg::TreeShown);
        Nav()->GalleryChooser()->setCurrentIndex(1);
        QVERIFY(!shown.isEmpty() || shown.wait(15000));
        QCOMPARE(State().CurrentGallery, 1);
        QCOMPARE(Tree()->topLevelItem(0)->text(0), QStringLiteral("无源元件"));
        QTRY_VERIFY_WITH_TIMEOUT(State().ContentViewReady, 15000);
        Shot(Window(), QStringLiteral("03-second-gallery"));
        Nav()->GalleryChooser()->setCurrentIndex(0);
        QVERIFY(shown.size() == 2 || shown.wait(15000));
        QCOMPARE(State().CurrentGallery, 0);
        QCOMPARE(Tree()->topLevelItem(0)->text(0), QStringLiteral("紧固件"));
    }

    void directoryShowsItsPageAndGridPages()
    {
        Select(QStringLiteral("法兰盖 GB/T 9123"));
        const std::size_t count = State().Drawings.Size();
        CPreviewDlg* grid = Panel()->GridPage();
        QVERIFY(grid);
        // A directory with drawings opens on its grid; its page is one tab away.
        QCOMPARE(Panel()->Tabs()->currentWidget(), static_cast<QWidget*>(grid));
        Panel()->Tabs()->setCurrentIndex(0);
        QTRY_VERIFY_WITH_TIMEOUT(PageShows(QStringLiteral("法兰盖")), 20000);
        Shot(Window(), QStringLiteral("04-directory-page"));

        Panel()->Tabs()->setCurrentWidget(grid);
        QCOMPARE(grid->Settings().Rows * grid->Settings().Columns, 12);
        QVERIFY(count > 12 && count < 24);
        QCOMPARE(grid->PageCount(), 2);
        QVERIFY(grid->CellPicture(0) && grid->CellPicture(0)->Loaded());
        QVERIFY(grid->CellPicture(11) && grid->CellPicture(11)->Loaded());
        Shot(Window(), QStringLiteral("05-grid"));
        auto* next = grid->findChild<QToolButton*>(QStringLiteral("ctl1006"));
        QVERIFY(next && next->isEnabled());
        next->click();
        QCOMPARE(grid->Page(), 1);
        QVERIFY(!next->isEnabled());
        QVERIFY(grid->CellPicture(0) && grid->CellPicture(0)->Loaded());
        Shot(Window(), QStringLiteral("06-grid-second-page"));
        QTest::keyClick(grid, Qt::Key_PageUp);
        QCOMPARE(grid->Page(), 0);
    }

    void previewOpensInTheViewer()
    {
        CPreviewDlg* grid = Panel()->GridPage();
        QVERIFY(grid);
        QTest::mouseClick(grid, Qt::RightButton, {}, grid->CellRect(2).center());
        CImageViewDlg* viewer = Window()->Viewer();
        QVERIFY(viewer);
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        QCOMPARE(viewer->windowTitle(), QString::fromStdString(grid->ShownPage().Cells[2].Caption));
        QVERIFY(viewer->Picture()->Picture().Loaded());
        Shot(viewer, QStringLiteral("07-image-viewer"));
        viewer->close();
        QTRY_VERIFY(!Window()->Viewer());
    }

    void doubleClickedDrawingReachesTheRelay()
    {
        CPreviewDlg* grid = Panel()->GridPage();
        QVERIFY(grid);
        const std::string log = platform::NativePath(m_app + "\\ORVMTools\\userdef\\userdata\\CadRelay.log");
        QVERIFY(::access(log.c_str(), F_OK) != 0);
        {
            MessageRecorder messages;
            QTest::mouseClick(grid, Qt::LeftButton, {}, grid->CellRect(1).center());
            QTest::mouseDClick(grid, Qt::LeftButton, {}, grid->CellRect(1).center());
            QCOMPARE(State().Drawings.SelectedDrawingIndex, 1);
            QVERIFY(messages.Messages().empty());
        }
        QTRY_VERIFY_WITH_TIMEOUT(!FileLines(log).empty(), 10000);
        const std::vector<std::string> lines = FileLines(log);
        QCOMPARE(lines.size(), std::size_t(1));
        QVERIFY2(lines[0].find("\"" + State().Drawings.Names[1] + ".dxf\"") != std::string::npos,
            lines[0].c_str());
        // The window stepped aside for the CAD program; the user brings it back.
        Window()->showNormal();
        Window()->raise();
        Window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(Window()));
        Shot(Window(), QStringLiteral("08-after-insertion"));
    }

    void fullTextSearchHighlightsTheWord()
    {
        Nav()->ShowPage(2);
        CSearchDlg* page = Nav()->SearchPage();
        QVERIFY(page && page->FullTextMode()->isChecked());
        page->Combo()->lineEdit()->clear();
        TypeText(page->Combo()->lineEdit(), QStringLiteral("预紧力"));
        QTest::keyClick(page->Combo()->lineEdit(), Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(!State().SearchRunning, 20000);
        QCOMPARE(page->Results()->topLevelItemCount(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(State().ContentViewReady, 15000);
        DoubleClickRow(page->Results(), 0);
        QCOMPARE(State().CurrentDirID, 1);
        QTRY_VERIFY_WITH_TIMEOUT(Panel()->View(), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(
            Panel()->View()->url().fragment(), QStringLiteral("orv_find_bookmark"), 15000);
        // The word is marked in the page itself: the anchor, and the word on the marking colours.
        QTRY_VERIFY_WITH_TIMEOUT(
            RunScript(*Panel()->View(),
                QStringLiteral("document.getElementsByName('orv_find_bookmark').length == 1"
                               " && Array.from(document.querySelectorAll('span')).some(e =>"
                               " e.textContent == '预紧力'"
                               " && getComputedStyle(e).backgroundColor == 'rgb(0, 0, 128)')"))
                .toBool(),
            10000);
        Shot(Window(), QStringLiteral("09-search-highlight"));
    }

    void bookmarkSurvivesARestart()
    {
        Window()->ShowDirectory(56);
        Nav()->ShowPage(3);
        CBookmarkDlg* page = Nav()->BookmarkPage();
        QVERIFY(page);
        QCOMPARE(page->List()->topLevelItemCount(), 0);
        QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("ctl1016")), Qt::LeftButton);
        QCOMPARE(page->List()->topLevelItemCount(), 1);
        QCOMPARE(page->List()->topLevelItem(0)->text(1), QStringLiteral("常用材料"));
        Shot(Window(), QStringLiteral("10-bookmark"));

        Restart();
        Nav()->ShowPage(3);
        page = Nav()->BookmarkPage();
        QVERIFY(page);
        QCOMPARE(page->List()->topLevelItemCount(), 1);
        QCOMPARE(page->List()->topLevelItem(0)->text(1), QStringLiteral("常用材料"));
        QTRY_VERIFY_WITH_TIMEOUT(State().ContentViewReady, 15000);
        DoubleClickRow(page->List(), 0);
        QCOMPARE(State().CurrentDirID, 56);
        Shot(Window(), QStringLiteral("11-bookmark-after-restart"));
    }

    void backAndForward()
    {
        Select(QStringLiteral("螺栓"));
        QTRY_VERIFY_WITH_TIMEOUT(PageShows(QStringLiteral("螺栓")), 20000);
        const std::int32_t bolts = State().CurrentDirID;
        Select(QStringLiteral("常用材料"));
        const std::int32_t materials = State().CurrentDirID;
        QVERIFY(bolts != materials);
        QTRY_VERIFY_WITH_TIMEOUT(State().ContentViewReady, 15000);

        // Back from the keyboard, forward with the button.
        Window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Window()));
        QTest::keyClick(Window(), Qt::Key_F7);
        QTRY_COMPARE_WITH_TIMEOUT(State().CurrentDirID, bolts, 15000);
        QCOMPARE(Tree()->currentItem()->text(0), QStringLiteral("螺栓"));
        QTRY_VERIFY_WITH_TIMEOUT(PageShows(QStringLiteral("螺栓")), 20000);
        Shot(Window(), QStringLiteral("12-back"));
        Window()->ToolBar()->Button(kCmdHistoryForward)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(State().CurrentDirID, materials, 15000);
        QCOMPARE(Tree()->currentItem()->text(0), QStringLiteral("常用材料"));
        QTRY_VERIFY_WITH_TIMEOUT(State().ContentViewReady, 15000);
        Shot(Window(), QStringLiteral("13-forward"));
    }

    void optionsMakeTheGridThreeByThreeForGood()
    {
        Select(QStringLiteral("法兰盖 GB/T 9123"));
        const int count = static_cast<int>(State().Drawings.Size());
        bool answered = false;
        // The dialog runs its own loop: it is filled in once it is up.
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [&, poll] {
            auto* dialog = qobject_cast<COptionsDlg*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll->stop();
            auto* rows = dialog->findChild<QComboBox*>(QStringLiteral("ctl1010"));
            auto* columns = dialog->findChild<QComboBox*>(QStringLiteral("ctl1011"));
            if (rows && columns) {
                rows->setCurrentIndex(rows->findText(QStringLiteral("3")));
                columns->setCurrentIndex(columns->findText(QStringLiteral("3")));
                Shot(dialog, QStringLiteral("14-options"));
                answered = true;
            }
            dialog->findChild<QPushButton*>(QStringLiteral("ctl1"))->click();
        });
        poll->start(50);
        Window()->ToolBar()->Button(kCmdOptions)->trigger();
        delete poll;
        QVERIFY(answered);
        CPreviewDlg* grid = Panel()->GridPage();
        QVERIFY(grid);
        QCOMPARE(grid->Settings().Rows, 3);
        QCOMPARE(grid->Settings().Columns, 3);
        QCOMPARE(grid->PageCount(), (count + 8) / 9);

        Restart();
        Select(QStringLiteral("法兰盖 GB/T 9123"));
        grid = Panel()->GridPage();
        QVERIFY(grid);
        Panel()->Tabs()->setCurrentWidget(grid);
        QCOMPARE(grid->Settings().Rows, 3);
        QCOMPARE(grid->Settings().Columns, 3);
        QCOMPARE(grid->PageCount(), (count + 8) / 9);
        QVERIFY(grid->CellPicture(8) && grid->CellPicture(8)->Loaded());
        Shot(Window(), QStringLiteral("15-grid-3x3-after-restart"));
    }

    void closeAsksFirst()
    {
        MessageRecorder messages(1);
        Window()->ToolBar()->Button(kCmdExit)->trigger();
        QCOMPARE(messages.Messages().size(), std::size_t(1));
        QCOMPARE(messages.Messages()[0].Text, std::string("是否退出？"));
        QCOMPARE(messages.Messages()[0].Kind, platform::MessageKind::Question);
        QVERIFY(!Window()->isVisible());
    }
};

} // namespace orv::test

int main(int argc, char** argv)
{
    // Without a display of its own it runs off screen.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The web engine's sandbox does not start for root, nor in most containers.
    ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    // The demo relay would show its window and stay a while.
    ::setenv("ORV_CADRELAY_NO_WINDOW", "1", 0);
    orv::test::PrivateHome home;
    orv::RegisterContentSchemes();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    orv::test::WholeRoadTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WholeRoadTest.moc"
