// The content view loads local pages through its own scheme, keeps the engine inside the
// reader's folders, routes links to the reader and always raises the ready flag again.

#include "content/ui/ContentView.h"

#include "UiSupport.h"
#include "app/MainToolbar.h"
#include "app/common/PathHelpers.h"
#include "browser/ui/PreviewDlg.h"
#include "content/LocalContent.h"
#include "content/ViewInput.h"
#include "content/ui/FindBar.h"
#include "controls/FlatToolBar.h"
#include "navigation/ui/ContentTabDlg.h"
#include "navigation/ui/DirTreeDlg.h"
#include "navigation/ui/NavTabDlg.h"
#include "platform/Encoding.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEngineFindTextResult>
#include <QWheelEvent>

#include <filesystem>

namespace orv::test {
namespace {

// Waits for the view's next settled load; its ok flag, or false when none came.
bool WaitForLoad(QSignalSpy& ended)
{
    if (ended.isEmpty() && !ended.wait(15000))
        return false;
    const bool ok = ended.takeFirst().at(0).toBool();
    return ok;
}

} // namespace

class ContentViewTest : public QObject {
    Q_OBJECT

private:
    // A library with one gallery (no database needed to show pages), a home page folder, the
    // temporary folder and a folder beside them all.
    struct Folders {
        TempFolder Dir;
        ReaderState State;
        ContentViewState View;
        std::string PreviousCompanion;
    };

    static std::unique_ptr<Folders> MakeFolders()
    {
        auto f = std::make_unique<Folders>();
        TempFolder& dir = f->Dir;
        WriteFile(dir.NativeAt("lib/G/G.GAL"), "db");
        // Written the way gallery pages are: GB2312 bytes and no charset declared.
        WriteFile(dir.NativeAt("lib/G/Pages/Bolts.htm"),
            platform::Utf8ToGb18030("<html><head><title>螺栓</title></head><body><p id=t>M12 螺栓</p>"
                                    "<img id=in src=\"PIC/A.PNG\"><img id=out src=\"../../../outside/b.png\">"
                                    "</body></html>"));
        std::filesystem::create_directories(dir.NativeAt("lib/G/Pages/pic"));
        std::filesystem::create_directories(dir.NativeAt("outside"));
        QImage picture(4, 3, QImage::Format_RGB32);
        picture.fill(Qt::red);
        picture.save(QString::fromStdString(dir.NativeAt("lib/G/Pages/pic/a.png")), "PNG");
        picture.save(QString::fromStdString(dir.NativeAt("outside/b.png")), "PNG");
        WriteFile(dir.NativeAt("outside/secret.htm"), "<html><title>secret</title></html>");
        std::filesystem::create_directories(dir.NativeAt("temp"));
        f->State.AppPath = dir.ProgramAt("app");
        f->State.LibPath = dir.ProgramAt("lib");
        f->State.GalleryFiles = { dir.ProgramAt("lib\\G\\G.GAL") };
        f->State.CurrentGallery = 0;
        f->View.TempFolder = dir.ProgramAt("TEMP");
        return f;
    }

    // A view over the folders' state, shown.
    static std::unique_ptr<CContentView> MakeView(Folders& f)
    {
        auto view = std::make_unique<CContentView>(f.State, f.View, f.PreviousCompanion);
        view->resize(600, 400);
        view->show();
        return view;
    }

    // Loads a program path and waits for the load to end: whether it succeeded.
    static bool Load(CContentView& view, const std::string& path)
    {
        QSignalSpy ended(&view, &CContentView::LoadEnded);
        view.Navigate(path);
        return WaitForLoad(ended);
    }

private slots:
    void galleryPageInOtherLetterCaseLoadsThroughTheScheme()
    {
        auto f = MakeFolders();
        auto owner = MakeView(*f);
        CContentView& view = *owner;
        QVERIFY(Load(view, f->Dir.ProgramAt("LIB\\g\\pages\\BOLTS.HTM")));
        // The page's GB2312 text reads right only when it was served as GBK.
        QCOMPARE(view.title(), QStringLiteral("螺栓"));
        QCOMPARE(RunScript(view, QStringLiteral("document.getElementById('t').textContent")).toString(),
            QStringLiteral("M12 螺栓"));
        // The picture named in other letter case comes; the one outside the folders does not.
        QTRY_COMPARE_WITH_TIMEOUT(
            RunScript(view, QStringLiteral("document.getElementById('in').naturalWidth")).toInt(), 4, 5000);
        QCOMPARE(RunScript(view, QStringLiteral("document.getElementById('out').naturalWidth")).toInt(), 0);
        QVERIFY(f->State.ContentViewReady);
        QCOMPARE(LocalUrlToPath(f->View.LastUrl),
            platform::ProgramPath(platform::NativePath(f->Dir.ProgramAt("lib\\G\\Pages\\Bolts.htm"))));
        SaveScreenshot(&view, QStringLiteral("content-view-page"));

        // Ctrl+Z tells where the page comes from.
        QWidget* surface = view.focusProxy();
        QVERIFY(surface);
        {
            MessageRecorder messages;
            QTest::keyClick(surface, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(messages.Messages().size(), std::size_t(1));
            QCOMPARE(messages.Messages()[0].Text, "\n\n" + f->View.TargetUrl);
        }
        // Ctrl+F opens the view's own find bar; Enter finds in the page.
        QTest::keyClick(surface, Qt::Key_F, Qt::ControlModifier);
        auto* bar = view.findChild<CFindBar*>();
        QVERIFY(bar && bar->isVisible());
        bar->Text()->setText(QStringLiteral("螺栓"));
        QSignalSpy found(view.page(), &QWebEnginePage::findTextFinished);
        QTest::keyClick(bar->Text(), Qt::Key_Return);
        QVERIFY(found.wait(5000));
        QCOMPARE(found.takeFirst().at(0).value<QWebEngineFindTextResult>().numberOfMatches(), 1);
        view.resize(500, 300);
        QCOMPARE(bar->geometry().bottom(), view.height() - 1);
        QCOMPARE(bar->width(), 500);
    }

    void pageOutsideTheReadersFoldersFailsAndTheReadyFlagComesBack()
    {
        auto f = MakeFolders();
        auto owner = MakeView(*f);
        CContentView& view = *owner;
        QVERIFY(!Load(view, f->Dir.ProgramAt("outside\\secret.htm")));
        QVERIFY(view.title() != QStringLiteral("secret"));
        QVERIFY(f->State.ContentViewReady);

        // An extracted page that fails to load still ends the wait.
        f->View.ShowingPackagePage = true;
        f->State.ContentViewReady = false;
        QVERIFY(!Load(view, f->View.TempFolder + "\\ORVBookDefault.htm"));
        QVERIFY(f->State.ContentViewReady);
    }

    void appLinkFollowedByTheUserSelectsItsDirectory()
    {
        TempFolder folder;
        const std::string app = CopyDemoFolder(folder);
        QVERIFY2(!app.empty(), "the demo application folder could not be made");
        std::unique_ptr<Reader> reader = OpenReader(app);
        QVERIFY2(reader->Started, "the reader did not show its first tree");
        ReaderState& state = reader->State;
        QTreeWidget* tree = reader->Window->NavigationPanel()->TreePage()->Tree();
        const QList<QTreeWidgetItem*> found
            = tree->findItems(QStringLiteral("常用材料"), Qt::MatchExactly | Qt::MatchRecursive);
        QVERIFY(!found.isEmpty());
        const int dirId = found.first()->data(0, Qt::UserRole + 1).toInt();
        QVERIFY(dirId > 0 && dirId != state.CurrentDirID);

        // The home page shows in the content panel's view, its GB2312 text read right.
        QTRY_VERIFY_WITH_TIMEOUT(reader->Window->ContentPanel()->View(), 5000);
        CContentView& view = *reader->Window->ContentPanel()->View();
        ContentViewState& viewState = view.ViewState();
        reader->Window->RunCommand(32791);
        QTRY_COMPARE_WITH_TIMEOUT(view.title(), QStringLiteral("Orv机电工程师手册"), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(!viewState.LastUrl.empty(), 5000);
        const std::string shown = viewState.LastUrl;

        const QUrl link(QStringLiteral("app:ID=%1").arg(dirId));
        const std::int32_t before = state.CurrentDirID;
        // The engine brings "app:" navigations to the filter (the scheme is registered), and
        // one a script starts on its own selects nothing, though the engine calls it a link.
        RunScript(view, QStringLiteral("location.href = 'app:ID=%1'").arg(dirId));
        QTRY_COMPARE_WITH_TIMEOUT(viewState.TargetUrl, link.toString().toStdString(), 5000);
        QTest::qWait(100);
        QCOMPARE(state.CurrentDirID, before);
        QVERIFY(!view.FilterNavigation(link, QWebEnginePage::NavigationTypeLinkClicked, true));
        QTest::qWait(100);
        QCOMPARE(state.CurrentDirID, before);

        // From here on the user has just pressed a key in the view.
        QWidget* surface = view.focusProxy();
        QVERIFY(surface);
        QTest::keyClick(surface, Qt::Key_Shift);
        // Redirects and reloads are the page's doing, not the user's: no directory changes.
        for (auto type : { QWebEnginePage::NavigationTypeRedirect, QWebEnginePage::NavigationTypeReload,
                 QWebEnginePage::NavigationTypeOther }) {
            QVERIFY(!view.FilterNavigation(link, type, true));
            QTest::qWait(50);
            QCOMPARE(state.CurrentDirID, before);
        }
        // A link in a frame is the frame's to follow; the engine refuses "app:" content.
        QVERIFY(view.FilterNavigation(link, QWebEnginePage::NavigationTypeLinkClicked, false));
        QCOMPARE(state.CurrentDirID, before);

        // The cancelled navigations are no pages of the view's.
        QCOMPARE(viewState.LastUrl, shown);

        // The user's click, as the engine reports it.
        QVERIFY(!view.FilterNavigation(link, QWebEnginePage::NavigationTypeLinkClicked, true));
        QTRY_COMPARE_WITH_TIMEOUT(state.CurrentDirID, dirId, 5000);
        QVERIFY2(reader->Window->windowTitle().contains(QStringLiteral("常用材料")),
            qPrintable(reader->Window->windowTitle()));
        QVERIFY(state.ContentViewReady);
    }

    void directoryPagesShowPackagedWithPicturesAndWalkTheHistoryAndSplit()
    {
        TempFolder folder;
        const std::string app = CopyDemoFolder(folder);
        QVERIFY2(!app.empty(), "the demo application folder could not be made");
        std::unique_ptr<Reader> reader = OpenReader(app);
        QVERIFY2(reader->Started, "the reader did not show its first tree");
        ReaderState& state = reader->State;
        CORVBookDlg& window = *reader->Window;
        CContentTabDlg& panel = *window.ContentPanel();
        QTRY_VERIFY_WITH_TIMEOUT(panel.View(), 5000);
        CContentView& view = *panel.View();
        QTreeWidget* tree = window.NavigationPanel()->TreePage()->Tree();
        auto select = [&](const QString& name, int index = 0) {
            const QList<QTreeWidgetItem*> found = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
            QVERIFY(found.size() > index);
            QTRY_VERIFY_WITH_TIMEOUT(state.ContentViewReady, 15000);
            tree->setCurrentItem(found[index]);
        };
        const std::string copy = view.ViewState().TempFolder + "\\ORVBookDefault.htm";
        // The extracted copy has loaded (and is gone) with the anchor it was asked for.
        auto settled = [&](const char* anchor) {
            return state.ContentViewReady && !platform::FileExists(copy)
                && platform::EqualsNoCase(LocalUrlToPath(view.url().toString(QUrl::RemoveFragment).toStdString()), copy)
                && view.url().fragment() == QLatin1String(anchor);
        };

        // A packaged page: its picture comes from the companion package, extracted beside it.
        select(QStringLiteral("螺栓"));
        QTRY_VERIFY_WITH_TIMEOUT(settled(""), 15000);
        QCOMPARE(RunScript(view, QStringLiteral("document.images[0].naturalWidth")).toInt(), 360);
        const std::string bolts = state.CurrentHistoryKey;
        QVERIFY2(platform::EqualsNoCase(GetBaseName(bolts) + ".htz", "BOLTS(index).htz"), bolts.c_str());
        SaveScreenshot(&window, QStringLiteral("content-packaged-page"));

        // A group of a packaged page: the redirect page goes on to the copy at its mark.
        // It has drawings: the panel opens on their grid, and the page shows once the user
        // turns to the content tab.
        select(QStringLiteral("M12"));
        QCOMPARE(panel.Tabs()->currentWidget(), static_cast<QWidget*>(panel.GridPage()));
        panel.Tabs()->setCurrentIndex(0);
        QTRY_VERIFY_WITH_TIMEOUT(settled("M12"), 15000);
        const std::string group = state.CurrentHistoryKey;
        QCOMPARE(state.History.Size(), std::size_t(3)); // the first tree's, 螺栓, M12

        // Back and forward walk the visits; the tree follows.
        window.RunCommand(kCmdHistoryBack);
        QTRY_VERIFY_WITH_TIMEOUT(settled(""), 15000);
        QCOMPARE(state.CurrentHistoryKey, bolts);
        QCOMPARE(tree->currentItem()->text(0), QStringLiteral("螺栓"));
        window.RunCommand(kCmdHistoryForward);
        QTRY_VERIFY_WITH_TIMEOUT(settled("M12"), 15000);
        QCOMPARE(state.CurrentHistoryKey, group);
        QCOMPARE(state.History.Size(), std::size_t(3));

        // The split shows the page in the second view too; the button joins the views again.
        window.RunCommand(kCmdSplit);
        QVERIFY(panel.SecondView() && panel.SecondView()->isVisible());
        QCOMPARE(window.ToolBar()->Button(kCmdSplit)->text(), QStringLiteral(" 单页 "));
        QTRY_VERIFY_WITH_TIMEOUT(
            state.ContentViewReady && panel.SecondView()->url().fragment().isEmpty()
                && RunScript(*panel.SecondView(), QStringLiteral("document.images.length")).toInt() > 0,
            15000);
        SaveScreenshot(&window, QStringLiteral("content-split"));
        window.RunCommand(kCmdSplit);
        QVERIFY(!panel.SecondView()->isVisible());
        QCOMPARE(window.ToolBar()->Button(kCmdSplit)->text(), QStringLiteral(" 分割 "));
    }

    void contextMenuOffersTheViewsCommands()
    {
        auto f = MakeFolders();
        f->State.SplitMode = 2;
        auto owner = MakeView(*f);
        CContentView& view = *owner;
        // The menu's items as shown ("|" for a separator, "*" after a checked one); the menu is
        // closed as soon as it is up.
        auto shownMenu = [&view] {
            QStringList items;
            QTimer::singleShot(0, [&items] {
                if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                    for (QAction* action : menu->actions())
                        items << (action->isSeparator() ? QStringLiteral("|")
                                                        : action->text() + (action->isChecked() ? "*" : ""));
                    menu->close();
                }
            });
            view.ShowContextMenu(view.mapToGlobal(QPoint(10, 10)));
            QTest::qWait(0);
            return items.join(QLatin1Char(' '));
        };
        // Without a menu of its own the view shows none (the engine's would bypass the router).
        QCOMPARE(shownMenu(), QString());
        f->View.OwnContextMenu = true;
        QCOMPARE(shownMenu(),
            QStringLiteral("复制 查找 | 打印 | 上一页 下一页 回退 前进 | 水平分割 垂直分割* 关闭分割"));
        f->View.HasTextContents = false;
        QCOMPARE(shownMenu(), QStringLiteral("打印 | 上一页 下一页 回退 前进 | 水平分割 垂直分割* 关闭分割"));

        QSignalSpy steps(&view, &CContentView::TopicStepRequested);
        QSignalSpy commands(&view, &CContentView::ViewCommandRequested);
        f->View.NavCommandsEnabled = false;
        view.RunViewCommand(kCmdNextPage);
        view.RunViewCommand(kCmdHistoryBack);
        QCOMPARE(steps.size() + commands.size(), 0);
        f->View.NavCommandsEnabled = true;
        view.RunViewCommand(kCmdNextPage);
        view.RunViewCommand(kCmdHistoryBack);
        view.RunViewCommand(kCmdViewSplitClose);
        QCOMPARE(steps.size(), 1);
        QCOMPARE(steps.at(0).at(0).toBool(), true);
        QCOMPARE(commands.size(), 2);
        QCOMPARE(commands.at(0).at(0).toInt(), int(kCmdHistoryBack));
        QCOMPARE(commands.at(1).at(0).toInt(), int(kCmdViewSplitClose));
    }

    void wheelTurnsTheTopicAfterSixNotches()
    {
        auto f = MakeFolders();
        auto owner = MakeView(*f);
        CContentView& view = *owner;
        QVERIFY(Load(view, f->Dir.ProgramAt("lib\\G\\Pages\\Bolts.htm")));
        QWidget* surface = view.focusProxy();
        QVERIFY(surface);
        QSignalSpy steps(&view, &CContentView::TopicStepRequested);
        const QPoint at(100, 100);
        auto wheel = [&](int delta) {
            QWheelEvent event(at, surface->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(surface, &event);
        };
        for (int i = 0; i < 5; ++i)
            wheel(-120);
        QCOMPARE(steps.size(), 0);
        wheel(-120);
        QCOMPARE(steps.size(), 1);
        QCOMPARE(steps.takeFirst().at(0).toBool(), true);
        // A touchpad's small steps count by the travel: eleven half notches are not six notches.
        for (int i = 0; i < 11; ++i)
            wheel(60);
        QCOMPARE(steps.size(), 0);
        wheel(60);
        QCOMPARE(steps.size(), 1);
        QCOMPARE(steps.takeFirst().at(0).toBool(), false);
    }
};

QObject* NewContentViewTest()
{
    return new ContentViewTest;
}

} // namespace orv::test

#include "ContentViewTest.moc"
