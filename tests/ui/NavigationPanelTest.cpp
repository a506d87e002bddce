// The navigation panel shows the installed galleries and the contents tree the core builds,
// and forwards the user's gallery choice and tree commands.

#include "UiSupport.h"
#include "controls/FlatComboBox.h"
#include "navigation/ui/DirTreeDlg.h"
#include "navigation/ui/NavTabDlg.h"
#include "platform/Paths.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>

namespace orv::test {
namespace {

QStringList TopLevelTexts(QTreeWidget* tree)
{
    QStringList texts;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        texts << tree->topLevelItem(i)->text(0);
    return texts;
}

// Counts the times a widget is shown.
class ShowCounter : public QObject {
public:
    int Shown = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            ++Shown;
        return false;
    }
};

} // namespace

class NavigationPanelTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempFolder> m_folder;
    std::string m_app;

    std::unique_ptr<Reader> Open()
    {
        auto reader = OpenReader(m_app);
        if (!reader->Started)
            qWarning("the reader did not show its first tree");
        return reader;
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TempFolder>();
        m_app = CopyDemoFolder(*m_folder);
        QVERIFY2(!m_app.empty(), "the demo application folder could not be made");
    }

    void cleanup() { m_folder.reset(); }

    void tabsAndGalleryChooser_data()
    {
        QTest::addColumn<bool>("removeSecondGallery");
        QTest::addColumn<bool>("chooserShown");
        QTest::newRow("two galleries") << false << true;
        QTest::newRow("one gallery hides the chooser") << true << false;
    }

    void tabsAndGalleryChooser()
    {
        QFETCH(bool, removeSecondGallery);
        QFETCH(bool, chooserShown);
        if (removeSecondGallery)
            std::filesystem::remove(platform::NativePath(m_app + "\\ORVBookLib\\Elec.GAL"));
        auto reader = Open();
        QVERIFY(reader->Started);
        CNavTabDlg* panel = reader->Window->NavigationPanel();
        auto* chooser = panel->findChild<CFlatComboBox*>(QStringLiteral("ctl201"));
        QVERIFY(chooser);
        QCOMPARE(chooser->isVisible(), chooserShown);
        QCOMPARE(chooser->currentText(), QStringLiteral("机械零件图库"));
        QCOMPARE(chooser->BackgroundColor(), QColor(192, 255, 255));
        auto* tabs = panel->findChild<QTabWidget*>(QStringLiteral("ctl1002"));
        QVERIFY(tabs);
        QStringList names;
        for (int i = 0; i < tabs->count(); ++i) {
            names << tabs->tabText(i);
            QVERIFY(!tabs->tabIcon(i).isNull());
        }
        QCOMPARE(names, (QStringList { "目录", "索引", "搜索", "书签" }));
        // With the chooser hidden the tabs reach the panel's top.
        QCOMPARE(tabs->geometry().top() == 0, !chooserShown);
    }

    void choosingAnotherGalleryRebuildsTheTree()
    {
        auto reader = Open();
        QVERIFY(reader->Started);
        QTreeWidget* tree = reader->Window->NavigationPanel()->TreePage()->Tree();
        QCOMPARE(TopLevelTexts(tree), (QStringList { "紧固件", "连接件", "传动件", "设计资料" }));

        // The second gallery has no tree cache yet: its tree comes from the database, with the
        // progress bar up while the rows are read.
        auto* progress = reader->Window->findChild<QWidget*>(QStringLiteral("ctl1020"));
        QVERIFY(progress && !progress->isVisible());
        ShowCounter counter;
        progress->installEventFilter(&counter);
        QSignalSpy shown(reader->Window.get(), &CORVBookDlg::TreeShown);
        reader->Window->NavigationPanel()->GalleryChooser()->setCurrentIndex(1);
        QVERIFY(!shown.isEmpty() || shown.wait(10000));
        QCOMPARE(counter.Shown, 1);
        QVERIFY(!progress->isVisible());
        // One speciality: its directories are the top of the tree.
        QVERIFY2(TopLevelTexts(tree).startsWith(QStringLiteral("无源元件")),
            qPrintable(TopLevelTexts(tree).join(',')));
        QCOMPARE(reader->State.CurrentGallery, 1);
        SaveScreenshot(reader->Window.get(), QStringLiteral("main-window-elec"));

        // Choosing the open gallery again does nothing.
        reader->Window->NavigationPanel()->GalleryChooser()->setCurrentIndex(1);
        QCOMPARE(shown.size(), 1);
        // Back to the first, whose tree now comes from its cache, without the bar.
        reader->Window->NavigationPanel()->GalleryChooser()->setCurrentIndex(0);
        QVERIFY(shown.size() == 2 || shown.wait(10000));
        QCOMPARE(TopLevelTexts(tree), (QStringList { "紧固件", "连接件", "传动件", "设计资料" }));
        QCOMPARE(counter.Shown, 1);
    }

    void treeMenuCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("closeChildFirst");
        QTest::addColumn<bool>("nodeExpanded");
        QTest::addColumn<bool>("childExpanded");
        QTest::addColumn<bool>("siblingExpanded"); // another directory of the speciality
        QTest::newRow("展开目录 opens the node and all below") << "展开目录" << true << true << true << true;
        QTest::newRow("收缩目录 closes the node only") << "收缩目录" << false << false << true << true;
        QTest::newRow("恢复目录 closes the specialities' children")
            << "恢复目录" << false << false << true << false;
    }

    void treeMenuCommands()
    {
        QFETCH(QString, command);
        QFETCH(bool, closeChildFirst);
        QFETCH(bool, nodeExpanded);
        QFETCH(bool, childExpanded);
        QFETCH(bool, siblingExpanded);
        auto reader = Open();
        QVERIFY(reader->Started);
        QTreeWidget* tree = reader->Window->NavigationPanel()->TreePage()->Tree();
        auto find = [tree](const char* text) {
            return tree->findItems(QString::fromUtf8(text), Qt::MatchExactly | Qt::MatchRecursive).value(0);
        };
        QTreeWidgetItem* node = find("螺栓");
        QTreeWidgetItem* sibling = find("螺钉");
        QVERIFY(node && sibling && node->childCount() > 0);
        QTreeWidgetItem* child = node->child(0);
        QVERIFY(child->childCount() > 0);
        // A small gallery's tree starts fully open.
        QVERIFY(node->isExpanded() && child->isExpanded() && sibling->isExpanded());
        if (closeChildFirst)
            child->setExpanded(false);

        // A right click selects the node under the pointer and opens the menu "TREE".
        tree->scrollToItem(node);
        const QPoint at = tree->visualItemRect(node).center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree->viewport(), &click);
        QCOMPARE(tree->currentItem(), node);
        auto* menu = reader->Window->findChild<QMenu*>(QStringLiteral("TREE"));
        QVERIFY(menu);
        QTRY_VERIFY(menu->isVisible());
        QAction* action = nullptr;
        for (QAction* candidate : menu->actions()) {
            if (candidate->text() == command)
                action = candidate;
        }
        QVERIFY(action);
        SaveScreenshot(menu, QStringLiteral("tree-menu"));
        menu->hide();
        action->trigger();
        QCOMPARE(node->isExpanded(), nodeExpanded);
        QCOMPARE(child->isExpanded(), childExpanded);
        QCOMPARE(sibling->isExpanded(), siblingExpanded);
        QVERIFY(node->parent()->isExpanded());
    }
};

QObject* NewNavigationPanelTest()
{
    return new NavigationPanelTest;
}

} // namespace orv::test

#include "NavigationPanelTest.moc"
