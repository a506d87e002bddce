// A double-click on a drawing of the demo gallery reaches the demo CAD side: the relay program
// records the insertion it was handed, and the reader's window steps aside for it.

#include "UiSupport.h"
#include "browser/ui/PreviewDlg.h"
#include "navigation/ui/ContentTabDlg.h"
#include "navigation/ui/DirTreeDlg.h"
#include "navigation/ui/NavTabDlg.h"
#include "platform/Paths.h"

#include <QTest>
#include <QTreeWidget>

#include <unistd.h>

namespace orv::test {

class CadLinkUiTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<Reader> m_reader;
    std::string m_app;

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

    void doubleClickedPreviewIsInsertedThroughTheDemoRelay()
    {
        QTreeWidget* tree = m_reader->Window->NavigationPanel()->TreePage()->Tree();
        const QList<QTreeWidgetItem*> found
            = tree->findItems(QStringLiteral("平垫圈 GB/T 97.1"), Qt::MatchExactly | Qt::MatchRecursive);
        QVERIFY(!found.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(m_reader->State.ContentViewReady, 15000);
        tree->setCurrentItem(found.first());
        CPreviewDlg* grid = m_reader->Window->ContentPanel()->GridPage();
        QVERIFY(grid);

        MessageRecorder messages;
        QTest::mouseDClick(grid, Qt::LeftButton, {}, grid->CellRect(1).center());
        QCOMPARE(m_reader->State.Drawings.SelectedDrawingIndex, 1);
        QVERIFY(messages.Messages().empty());
        QVERIFY(m_reader->Window->isMinimized());

        const std::string log = platform::NativePath(m_app + "\\ORVMTools\\userdef\\userdata\\CadRelay.log");
        QTRY_VERIFY_WITH_TIMEOUT(::access(log.c_str(), F_OK) == 0, 10000);
        const std::vector<std::string> lines = FileLines(log);
        QCOMPARE(lines.size(), std::size_t(1));
        const std::string& record = lines[0];
        const std::string name = m_reader->State.Drawings.Names[1];
        const std::string folder = platform::NativePath(m_reader->State.Drawings.Folders[1]);
        QVERIFY2(
            record.find("\targ=(ORV_BeginInsertOrvBookDrawing \"ORV_BeginInsertOrvBook") != std::string::npos,
            record.c_str());
        QVERIFY2(record.find("\"" + folder) != std::string::npos, record.c_str());
        QVERIFY2(record.find("\"" + name + ".dxf\")%0A\t") != std::string::npos, record.c_str());
        QVERIFY2(record.find("DrawingCaption=" + m_reader->State.Drawings.Captions[1]) != std::string::npos,
            record.c_str());
    }
};

QObject* NewCadLinkUiTest()
{
    return new CadLinkUiTest;
}

} // namespace orv::test

#include "CadLinkUiTest.moc"
