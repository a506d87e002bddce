// The main window shows the core's toolbar, keys, caption and messages and forwards the
// user's actions: buttons, function keys, closing, tree selections, tools and tool menus.

#include "UiSupport.h"
#include "app/common/PathHelpers.h"
#include "app/ui/BaseWnd.h"
#include "controls/ColorStaticST.h"
#include "controls/FlatComboBox.h"
#include "controls/FlatToolBar.h"
#include "controls/SplitterBar.h"
#include "navigation/ui/ContentTabDlg.h"
#include "navigation/ui/DirTreeDlg.h"
#include "navigation/ui/NavTabDlg.h"
#include "platform/Paths.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QSplitterHandle>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <filesystem>

namespace orv::test {

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempFolder> m_folder;
    std::string m_app; // program path of this test's application folder
    std::unique_ptr<Reader> m_reader;

    CORVBookDlg* Window() const { return m_reader->Window.get(); }
    QTreeWidget* Tree() const { return Window()->NavigationPanel()->TreePage()->Tree(); }
    std::string Native(const std::string& relative) const
    {
        return platform::NativePath(m_app + "\\" + relative);
    }

    QTreeWidgetItem* Item(const QString& text) const
    {
        const QList<QTreeWidgetItem*> found = Tree()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TempFolder>();
        m_app = CopyDemoFolder(*m_folder);
        QVERIFY2(!m_app.empty(), "the demo application folder could not be made");
        m_reader = OpenReader(m_app);
        QVERIFY2(m_reader->Started, "the reader did not show its first tree");
    }

    void cleanup()
    {
        m_reader.reset();
        m_folder.reset();
    }

    void toolbarShowsTheCommandsWithTheirCaptions()
    {
        SaveScreenshot(Window(), QStringLiteral("main-window"));
        QStringList visible;
        for (QAction* action : Window()->ToolBar()->actions()) {
            if (!action->isVisible())
                continue;
            visible << (action->isSeparator()
                    ? QStringLiteral("|")
                    : QStringLiteral("%1 %2").arg(action->data().toInt()).arg(action->text()));
            if (!action->isSeparator())
                QCOMPARE(action->objectName(), QStringLiteral("cmd%1").arg(action->data().toInt()));
        }
        const QStringList expected { "32774 信息", "|", "32787 导航", "|", "32783 上页", "32784 下页",
            "32785 后退", "32786 前进", "|", "32793  分割 ", "|", "32789 设置", "32791 首页", "9000 演示工具",
            "9001 工具菜单", "|", "57665 退出" };
        QCOMPARE(visible, expected);
        // Present but hidden for good: search, mail, help; zoom and whole page until a page asks.
        for (int id : { 32790, 32792, 57670, 32795, 32796 }) {
            QAction* action = Window()->findChild<QAction*>(QStringLiteral("cmd%1").arg(id));
            QVERIFY2(action && !action->isVisible(), qPrintable(QString::number(id)));
        }
        // The options, the history buttons and their keys are on.
        QVERIFY(Window()->ToolBar()->Button(32789)->isEnabled());
        QVERIFY(Window()->ToolBar()->Button(32785)->isEnabled());
        QVERIFY(Window()->findChild<QAction*>(QStringLiteral("keyF7"))->isEnabled());
    }

    void hoveredButtonTellsWhatItDoesInTheStatusLine_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::newRow("previous page") << 32783 << "上一页";
        QTest::newRow("navigation") << 32787 << "关闭/显示导航栏";
        QTest::newRow("add-in tip") << 9000 << "运行演示工具程序，显示它收到的参数";
    }

    void hoveredButtonTellsWhatItDoesInTheStatusLine()
    {
        QFETCH(int, id);
        QFETCH(QString, text);
        QAction* button = Window()->ToolBar()->Button(id);
        QVERIFY(button);
        QCOMPARE(button->toolTip(), text);
        button->hover();
        auto* status = Window()->findChild<CColorStaticST*>(QStringLiteral("ctl1000"));
        QVERIFY(status);
        QCOMPARE(status->text(), text);
    }

    void f2TogglesTheNavigationPanel()
    {
        CSplitterBar* splitter = Window()->Frame()->Splitter();
        QCOMPARE(splitter->ColumnWidth(), 260); // SplitW of the demo's settings
        Tree()->setFocus();
        QTest::keyClick(Tree(), Qt::Key_F2);
        QCOMPARE(splitter->ColumnWidth(), 0);
        QTest::keyClick(Tree(), Qt::Key_F2);
        QCOMPARE(splitter->ColumnWidth(), 260);
        // Dragged shut by hand, the panel comes back at its width instead of staying closed.
        QSplitterHandle* handle = splitter->handle(1);
        const QPoint grip = handle->rect().center();
        QMouseEvent press(
            QEvent::MouseButtonPress, grip, handle->mapToGlobal(grip), Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(handle, &press);
        const QPoint shut = grip - QPoint(splitter->ColumnWidth() - 3, 0);
        QMouseEvent drag(
            QEvent::MouseMove, shut, handle->mapToGlobal(shut), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(handle, &drag);
        QMouseEvent release(
            QEvent::MouseButtonRelease, shut, handle->mapToGlobal(shut), Qt::LeftButton, {}, {});
        QApplication::sendEvent(handle, &release);
        QVERIFY2(splitter->ColumnWidth() < 5, qPrintable(QString::number(splitter->ColumnWidth())));
        QTest::keyClick(Window(), Qt::Key_F2);
        QCOMPARE(splitter->ColumnWidth(), 260);
        // Neither Enter nor Escape nor Space closes the window.
        for (Qt::Key key : { Qt::Key_Return, Qt::Key_Escape, Qt::Key_Space })
            QTest::keyClick(Window(), key);
        QVERIFY(Window()->isVisible());
    }

    void closeAsksAndOnlyAYesEnds_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closed");
        QTest::newRow("放弃 keeps the program and its temporary files") << 2 << false;
        QTest::newRow("确定 closes and removes them") << 1 << true;
    }

    void closeAsksAndOnlyAYesEnds()
    {
        QFETCH(int, answer);
        QFETCH(bool, closed);
        const std::string temp = platform::NativePath(GetTempFolder());
        WriteFile(temp + "/page.htm", "<html></html>");
        Window()->Frame()->Splitter()->SetColumnWidth(300);

        MessageRecorder messages(answer);
        Window()->ToolBar()->Button(57665)->trigger();
        QCOMPARE(messages.Messages().size(), std::size_t(1));
        QCOMPARE(messages.Messages()[0].Text, std::string("是否退出？"));
        QCOMPARE(messages.Messages()[0].Caption, m_reader->State.AppTitle);
        QCOMPARE(messages.Messages()[0].Kind, platform::MessageKind::Question);
        QCOMPARE(Window()->isVisible(), !closed);
        QCOMPARE(std::filesystem::exists(temp + "/page.htm"), !closed);
        // Closing writes the remembered panel width back; staying writes nothing.
        const bool written = ReadFile(Native("ORVBook.ini")).find("SplitW=300") != std::string::npos;
        QCOMPARE(written, closed);
    }

    void selectingANodeSetsTheCaption_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<QString>("caption");
        QTest::newRow("directory with three pages") << "常用材料"
                                                    << "常用材料 (第1页/共3页)";
        QTest::newRow("nested directory") << "平垫圈 GB/T 97.1"
                                          << "垫圈\\平垫圈 GB/T 97.1";
    }

    void selectingANodeSetsTheCaption()
    {
        QFETCH(QString, node);
        QFETCH(QString, caption);
        QTreeWidgetItem* item = Item(node);
        QVERIFY(item);
        Tree()->setCurrentItem(item);
        QCOMPARE(Window()->windowTitle(), caption);
        // The directory's page is the visit just recorded.
        QCOMPARE(m_reader->State.History.Keys.back(), m_reader->State.CurrentHistoryKey);
        QCOMPARE(m_reader->State.CurrentDirID, item->data(0, Qt::UserRole + 1).toInt());
        SaveScreenshot(Window(), QStringLiteral("main-window-%1").arg(QTest::currentDataTag()).replace(' ', '-'));
    }

    void pageKeysStepThroughPagesAndDirectories()
    {
        Tree()->setCurrentItem(Item(QStringLiteral("常用材料")));
        QTest::keyClick(Tree(), Qt::Key_F6);
        QCOMPARE(Window()->windowTitle(), QStringLiteral("常用材料 (第2页/共3页)"));
        QTest::keyClick(Tree(), Qt::Key_F5);
        QCOMPARE(Window()->windowTitle(), QStringLiteral("常用材料 (第1页/共3页)"));
        // A running search blocks the button with a message, not the key.
        m_reader->State.SearchRunning = true;
        MessageRecorder messages;
        Window()->ToolBar()->Button(32784)->trigger();
        QCOMPARE(messages.Messages().size(), std::size_t(1));
        QCOMPARE(messages.Messages()[0].Text, std::string("请先停止搜索，再执行此功能。"));
        QCOMPARE(Window()->windowTitle(), QStringLiteral("常用材料 (第1页/共3页)"));
        QTest::keyClick(Tree(), Qt::Key_F6);
        QCOMPARE(Window()->windowTitle(), QStringLiteral("常用材料 (第2页/共3页)"));
        QCOMPARE(messages.Messages().size(), std::size_t(1));
    }

    void toolNodeStartsItsProgram()
    {
        const std::string log = Native("ORVMTools\\DemoTool.log");
        QVERIFY(FileLines(log).empty());
        MessageRecorder messages;
        QTreeWidgetItem* item = Item(QStringLiteral("螺栓连接计算"));
        QVERIFY(item);
        Tree()->setCurrentItem(item);
        QTRY_VERIFY_WITH_TIMEOUT(!FileLines(log).empty(), 10000);
        QVERIFY2(FileLines(log).front().find("--tool-node=bolt-calc") != std::string::npos,
            FileLines(log).front().c_str());
        QVERIFY(messages.Messages().empty());
        QCOMPARE(Window()->windowTitle(), QStringLiteral("计算工具\\螺栓连接计算"));
    }

    void addinButtonShowsTheToolMenuOfItsMenuFile()
    {
        Window()->ToolBar()->Button(9001)->trigger();
        QMenu* menu = Window()->ToolMenu();
        QVERIFY(menu);
        QTRY_VERIFY(menu->isVisible());
        QStringList items;
        for (QAction* action : menu->actions()) {
            if (action->isSeparator())
                items << QStringLiteral("--");
            else if (action->menu())
                items << QStringLiteral("->") + action->text() + QStringLiteral("(") + [&] {
                    QStringList inner;
                    for (QAction* sub : action->menu()->actions())
                        inner << sub->text();
                    return inner.join(QLatin1Char(','));
                }() + QStringLiteral(")");
            else
                items << action->text();
        }
        const QStringList expected { "演示工具", "--", "->计算(螺栓连接校核,轴承寿命估算,平键强度校核)", "--",
            "打开机械零件图库", "打开电气符号图库", "--", "显示应用目录" };
        QCOMPARE(items, expected);
        // Under its button.
        QToolButton* button = Window()->ToolBar()->ButtonWidget(9001);
        QCOMPARE(menu->pos(), button->mapToGlobal(button->rect().bottomLeft()));
        SaveScreenshot(menu, QStringLiteral("tool-menu"));

        // An item runs its command: the demo tool is started with it.
        menu->findChild<QAction*>(QStringLiteral("cmd800"))->trigger();
        const std::string log = Native("ORVMTools\\DemoTool.log");
        QTRY_VERIFY_WITH_TIMEOUT(!FileLines(log).empty(), 10000);
        QVERIFY2(
            FileLines(log).front().find("--menu=demo") != std::string::npos, FileLines(log).front().c_str());
    }

    void toolMenuOpensAnotherGallery()
    {
        Window()->ToolBar()->Button(9001)->trigger();
        QMenu* menu = Window()->ToolMenu();
        QAction* elec = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text() == QStringLiteral("打开电气符号图库"))
                elec = action;
        }
        QVERIFY(elec);
        QSignalSpy shown(Window(), &CORVBookDlg::TreeShown);
        elec->trigger();
        QVERIFY(!shown.isEmpty() || shown.wait(10000));
        QCOMPARE(
            Window()->NavigationPanel()->GalleryChooser()->currentText(), QStringLiteral("电气符号图库"));
    }

    void missingToolProgramIsReported()
    {
        std::filesystem::remove(Native("ORVMTools\\DemoTool.exe"));
        MessageRecorder messages;
        Window()->ToolBar()->Button(9000)->trigger();
        QCOMPARE(messages.Messages().size(), std::size_t(1));
        QCOMPARE(messages.Messages()[0].Caption, std::string("执行"));
        QVERIFY2(messages.Messages()[0].Text.rfind("未找到", 0) == 0, messages.Messages()[0].Text.c_str());
    }
};

QObject* NewMainWindowTest()
{
    return new MainWindowTest;
}

} // namespace orv::test

#include "MainWindowTest.moc"
