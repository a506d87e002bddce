// The message dialog shows its kind's picture and buttons and reports the button pressed; the
// gallery information dialog lists a work directory's galleries and forwards the choice of
// another one.

#include "UiSupport.h"
#include "app/ReaderState.h"
#include "app/StartUp.h"
#include "app/ui/AboutDlg.h"
#include "app/ui/MessageDlg.h"
#include "app/ui/SplashDlg.h"
#include "content/ui/TextFindDlg.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace orv::test {

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void messageKinds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<bool>("cancelShown");
        QTest::addColumn<QString>("press");
        QTest::addColumn<int>("result");
        QTest::newRow("information") << 0 << "ctl1039" << false << "ctl1" << 1;
        QTest::newRow("question, 确定") << 1 << "ctl1038" << true << "ctl1" << 1;
        QTest::newRow("question, 放弃") << 1 << "ctl1038" << true << "ctl2" << 2;
        QTest::newRow("warning") << 2 << "ctl1040" << false << "ctl1" << 1;
    }

    void messageKinds()
    {
        QFETCH(int, kind);
        QFETCH(QString, picture);
        QFETCH(bool, cancelShown);
        QFETCH(QString, press);
        QFETCH(int, result);
        int answered = 0;
        QString shownPicture;
        bool cancelVisible = false;
        bool okCentred = false;
        QString text;
        // The dialog runs modally; the user's part is played once it is up.
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CMessageDlg*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            for (const char* name : { "ctl1038", "ctl1039", "ctl1040" }) {
                if (dialog->findChild<QLabel*>(QString::fromLatin1(name))->isVisible())
                    shownPicture += QString::fromLatin1(name);
            }
            auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("ctl1"));
            cancelVisible = dialog->findChild<QPushButton*>(QStringLiteral("ctl2"))->isVisible();
            okCentred = qAbs(ok->geometry().center().x() - dialog->width() / 2) <= 2;
            text = dialog->findChild<QLabel*>(QStringLiteral("ctl1037"))->text();
            SaveScreenshot(dialog, QStringLiteral("message-kind%1").arg(kind));
            QTest::mouseClick(dialog->findChild<QPushButton*>(press), Qt::LeftButton);
        });
        answered = CMessageDlg::Show(nullptr,
            QStringLiteral("当前没有任何内容，可能由以下原因引起：\n.其它未知错误"),
            QStringLiteral("Orv提示："), static_cast<platform::MessageKind>(kind));
        QCOMPARE(shownPicture, picture);
        QCOMPARE(cancelVisible, cancelShown);
        QCOMPARE(answered, result);
        QCOMPARE(text, QStringLiteral("当前没有任何内容，可能由以下原因引起：\n.其它未知错误"));
        if (!cancelShown)
            QVERIFY(okCentred);
    }

    void splashUsesTheFolderPictureOrItsOwn()
    {
        TempFolder folder;
        const std::string app = CopyDemoFolder(folder);
        QVERIFY(!app.empty());
        CSplashDlg demo(app);
        QVERIFY(!demo.UsesOwnPicture());
        QCOMPARE(demo.size(), demo.Picture().size());
        CSplashDlg fallback(folder.Program() + "\\nowhere");
        QVERIFY(fallback.UsesOwnPicture());
        QCOMPARE(fallback.size(), QSize(480, 300));
        SaveScreenshot(&fallback, QStringLiteral("splash-fallback"));
    }

    void galleryInformationListsAndChangesTheWorkDirectory()
    {
        TempFolder folder;
        const std::string app = CopyDemoFolder(folder);
        QVERIFY(!app.empty());
        ReaderState state;
        QVERIFY(StartUp(state, app) == StartUpResult::Ready);

        CAboutDlg dialog(state);
        dialog.show();
        auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("ctl1045"));
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("ctl1036"));
        QVERIFY(list && edit);
        QCOMPARE(list->headerItem()->text(0), QStringLiteral("名称"));
        QCOMPARE(list->headerItem()->text(1), QStringLiteral("版本"));
        QCOMPARE(list->headerItem()->text(2), QStringLiteral("发布日期"));
        QStringList rows;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            rows << list->topLevelItem(i)->text(0) + QLatin1Char('/') + list->topLevelItem(i)->text(1);
        // The galleries in directory order, then the add-ins.
        QCOMPARE(rows,
            (QStringList { "电气符号图库/1.0", "机械零件图库/1.0", "演示工具/0.1.0", "工具菜单/0.1.0" }));
        QCOMPARE(edit->text(), QString::fromStdString(platform::NativePath(state.LibPath)));
        SaveScreenshot(&dialog, QStringLiteral("gallery-information"));

        // The application folder itself is shown as "<当前工作目录>"; it has no gallery.
        dialog.UseFolder(app);
        QCOMPARE(edit->text(), QStringLiteral("<当前工作目录>"));
        QCOMPARE(list->topLevelItemCount(), 2); // the add-ins
        dialog.findChild<QPushButton*>(QStringLiteral("ctl1"))->click();
        QVERIFY(dialog.Changed());
        QCOMPARE(state.LibPath, app);
        QVERIFY(state.GalleryNames.empty());
    }

    void textWindowSelectsTheFirstMatchAndStepsRound()
    {
        QWidget owner;
        CTextFindDlg* window = CTextFindDlg::Instance(&owner);
        QCOMPARE(CTextFindDlg::Instance(&owner), window); // one window for the program
        window->ShowText(QStringLiteral("钢板 Steel 钢管 steel 钢"), QStringLiteral("钢"));
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("查询"));
        auto* text = window->findChild<QPlainTextEdit*>(QStringLiteral("ctl1051"));
        auto* next = window->findChild<QPushButton*>(QStringLiteral("ctl1050"));
        QVERIFY(text && next && text->isReadOnly());
        QCOMPARE(window->findChild<QLineEdit*>(QStringLiteral("ctl1049"))->text(), QStringLiteral("钢"));
        QStringList starts;
        starts << QString::number(text->textCursor().selectionStart());
        for (int i = 0; i < 3; ++i) {
            next->click();
            starts << QString::number(text->textCursor().selectionStart());
        }
        QCOMPARE(starts.join(' '), QStringLiteral("0 9 18 0"));
        QCOMPARE(text->textCursor().selectedText(), QStringLiteral("钢"));
        SaveScreenshot(window, QStringLiteral("text-window"));
    }
};

QObject* NewDialogsTest()
{
    return new DialogsTest;
}

} // namespace orv::test

#include "DialogsTest.moc"
