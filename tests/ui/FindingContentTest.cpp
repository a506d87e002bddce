// The index, search and bookmark pages forward typing, Enter and double-clicks to the core and
// show what it decides; the jumps they make select the directory and show its page.

#include "UiSupport.h"
#include "content/ui/ContentView.h"
#include "content/ui/TextFindDlg.h"
#include "controls/FlatComboBox.h"
#include "navigation/SearchHistory.h"
#include "navigation/ui/BookmarkDlg.h"
#include "navigation/ui/ContentTabDlg.h"
#include "navigation/ui/DirTreeDlg.h"
#include "navigation/ui/IndexDlg.h"
#include "navigation/ui/NavTabDlg.h"
#include "navigation/ui/SearchDlg.h"
#include "navigation/ui/TopicListDlg.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace orv::test {
namespace {

std::int32_t TreeDirId(CORVBookDlg& window)
{
    QTreeWidgetItem* item = window.NavigationPanel()->TreePage()->Tree()->currentItem();
    return item ? item->data(0, Qt::UserRole + 1).toInt() : -1;
}

} // namespace

class FindingContentTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<Reader> m_reader;

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

    void indexTypingAndEnterOpenAChosenTopic()
    {
        CNavTabDlg* panel = m_reader->Window->NavigationPanel();
        QVERIFY(!panel->IndexPage());
        panel->ShowPage(1);
        CIndexDlg* page = panel->IndexPage();
        QVERIFY(page && page->isVisible());
        QVERIFY(page->List()->count() > 5);

        // "M1" selects the first term that begins with it; "M10" has equal neighbours, so
        // Enter asks which directory is meant.
        QTest::keyClicks(page->Combo()->lineEdit(), QStringLiteral("M1"));
        QCOMPARE(page->List()->currentItem()->text(), QStringLiteral("M10"));
        QTest::keyClicks(page->Combo()->lineEdit(), QStringLiteral("qq"));
        QCOMPARE(page->List()->currentItem()->text(), QStringLiteral("M10"));
        std::int32_t offered = 0;
        connect(page, &CIndexDlg::ChooserOpened, this, [&](CTopicListDlg* chooser) {
            QTimer::singleShot(0, chooser, [chooser, &offered] {
                SaveScreenshot(chooser, QStringLiteral("topic-chooser"));
                offered = chooser->List()->topLevelItemCount();
                chooser->List()->setCurrentItem(chooser->List()->topLevelItem(1));
                chooser->accept();
            });
        });
        QTest::keyClick(page->Combo()->lineEdit(), Qt::Key_Return);
        QCOMPARE(offered, 3);
        QCOMPARE(m_reader->State.CurrentDirID, 15);
        QCOMPARE(TreeDirId(*m_reader->Window), 15);
        SaveScreenshot(m_reader->Window.get(), QStringLiteral("index-page"));
    }

    void searchEnterAndDoubleClickShowTheHighlightedPage()
    {
        ReaderState& state = m_reader->State;
        CNavTabDlg* panel = m_reader->Window->NavigationPanel();
        panel->ShowPage(2);
        CSearchDlg* page = panel->SearchPage();
        QVERIFY(page && page->FullTextMode()->isChecked());
        page->Combo()->lineEdit()->clear();
        TypeText(page->Combo()->lineEdit(), QStringLiteral(" 预紧力 "));
        QSignalSpy running(page, &CSearchDlg::SearchRunningChanged);
        QTest::keyClick(page->Combo()->lineEdit(), Qt::Key_Return);
        QCOMPARE(running.size(), 2);
        QCOMPARE(page->Combo()->currentText(), QStringLiteral("预紧力"));
        QCOMPARE(page->Results()->topLevelItemCount(), 2);
        QCOMPARE(page->Count()->text(), QStringLiteral("(2)"));
        QVERIFY(!page->Progress()->isVisible());
        QCOMPARE(page->StartButton()->text(), QStringLiteral("搜索"));
        QCOMPARE(ReadSearchHistory(state.HistoryIniPath).front(), std::string("预紧力"));
        SaveScreenshot(m_reader->Window.get(), QStringLiteral("search-page"));

        // The found directory is selected, its page shows scrolled to the marked word, and
        // its source text waits in the text window.
        // Until the view is ready the page takes no input.
        QTRY_VERIFY_WITH_TIMEOUT(state.ContentViewReady, 15000);
        DoubleClickRow(page->Results(), 0);
        QCOMPARE(state.CurrentDirID, 1);
        QCOMPARE(TreeDirId(*m_reader->Window), 1);
        QCOMPARE(state.PendingHighlight, std::string("预紧力"));
        QTRY_VERIFY_WITH_TIMEOUT(m_reader->Window->ContentPanel()->View(), 5000);
        CContentView* view = m_reader->Window->ContentPanel()->View();
        QTRY_COMPARE_WITH_TIMEOUT(view->url().fragment(), QStringLiteral("orv_find_bookmark"), 15000);
        CTextFindDlg* text = CTextFindDlg::Instance(m_reader->Window.get());
        QVERIFY(text->isVisible());
        SaveScreenshot(m_reader->Window.get(), QStringLiteral("search-result-page"));
    }

    void aRunningSearchStopsOnlyOnItsKeysAndKeepsTheGallery()
    {
        ReaderState& state = m_reader->State;
        CNavTabDlg* panel = m_reader->Window->NavigationPanel();
        panel->ShowPage(2);
        CSearchDlg* page = panel->SearchPage();
        MessageRecorder messages;

        // While a search runs: a mouse move stops nothing, the gallery and the window stay,
        // a result does not open; Escape stops it.
        state.SearchRunning = true;
        QTest::mouseMove(page->Results()->viewport(), QPoint(5, 5));
        QVERIFY(state.SearchRunning);
        panel->GalleryChooser()->setCurrentIndex(1);
        QCOMPARE(panel->GalleryChooser()->currentIndex(), 0);
        QCOMPARE(state.CurrentGallery, 0);
        QVERIFY(!m_reader->Window->close());
        QVERIFY(m_reader->Window->isVisible());
        QCOMPARE(messages.Messages().size(), 2u);
        for (const RecordedMessage& message : messages.Messages())
            QCOMPARE(message.Text, std::string("请先停止搜索，再执行此功能。"));
        QTest::keyClick(page->Combo()->lineEdit(), Qt::Key_Escape);
        QVERIFY(!state.SearchRunning);

        // An empty text is refused with the page's own message.
        page->Combo()->lineEdit()->clear();
        QTest::mouseClick(page->StartButton(), Qt::LeftButton);
        QCOMPARE(messages.Messages().back().Text, std::string("请选择或输入要搜索的内容。"));
        QVERIFY(!state.SearchRunning);
    }

    void bookmarksAddTheCurrentDirectoryAndOpenIt()
    {
        ReaderState& state = m_reader->State;
        CNavTabDlg* panel = m_reader->Window->NavigationPanel();
        m_reader->Window->ShowDirectory(56);
        panel->ShowPage(3);
        CBookmarkDlg* page = panel->BookmarkPage();
        QVERIFY(page);
        QCOMPARE(page->Topic()->text(), QStringLiteral("常用材料"));
        QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("ctl1016")), Qt::LeftButton);
        QCOMPARE(page->List()->topLevelItemCount(), 1);
        QCOMPARE(page->List()->topLevelItem(0)->text(1), QStringLiteral("常用材料"));
        QVERIFY(FileLines(platform::NativePath(state.HistoryIniPath)).size() >= 2);

        // Elsewhere, the topic follows the tree; a double-click brings the bookmark back.
        m_reader->Window->ShowDirectory(1);
        QCOMPARE(page->Topic()->text(), QStringLiteral("螺栓"));
        QTRY_VERIFY_WITH_TIMEOUT(state.ContentViewReady, 15000);
        DoubleClickRow(page->List(), 0);
        QCOMPARE(state.CurrentDirID, 56);
        QCOMPARE(TreeDirId(*m_reader->Window), 56);
        SaveScreenshot(m_reader->Window.get(), QStringLiteral("bookmark-page"));
    }
};

QObject* NewFindingContentTest()
{
    return new FindingContentTest;
}

} // namespace orv::test

#include "FindingContentTest.moc"
