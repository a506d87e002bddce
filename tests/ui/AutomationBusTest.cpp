// The application object on a session bus of the test's own (dbus-run-session): a client's
// hold makes closing only hide the window, the program ends with the last release or when the
// holding client leaves the bus, scripts show directories and search, and a second start on
// the same folder hands its gallery file over and ends.

#include "UiSupport.h"
#include "app/Automation.h"
#include "app/ui/AutomationServer.h"
#include "platform/Paths.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

namespace orv::test {

class AutomationBusTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempFolder> m_folder;
    std::string m_app;
    std::unique_ptr<Reader> m_reader;
    CORVBookDlgAutoProxy* m_proxy = nullptr;

    // A method call from the client connection, answered while the test's events run.
    QDBusMessage Call(const QString& connection, const QString& method, const QVariantList& arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(
            QString::fromStdString(AutomationBusName(m_app)), QString::fromLatin1(kAutomationObjectPath),
            QString::fromLatin1(kAutomationInterface), method);
        message.setArguments(arguments);
        QDBusPendingCall pending = QDBusConnection(connection).asyncCall(message);
        if (!QTest::qWaitFor([&] { return pending.isFinished(); }, 10000))
            qWarning("no answer to %s", qPrintable(method));
        return pending.reply();
    }

    static QDBusConnection Client(const QString& name)
    {
        return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
    }

private slots:
    void init()
    {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("no session bus (run under dbus-run-session)");
        m_folder = std::make_unique<TempFolder>();
        m_app = CopyDemoFolder(*m_folder);
        QVERIFY2(!m_app.empty(), "the demo application folder could not be made");
        m_reader = OpenReader(m_app);
        QVERIFY2(m_reader->Started, "the reader did not show its first tree");
        m_proxy = new CORVBookDlgAutoProxy(m_reader->State, *m_reader->Window);
        QVERIFY(m_proxy->Register());
        m_reader->Window->SetAutomation(m_proxy);
        connect(
            m_proxy, &CORVBookDlgAutoProxy::HoldsEnded, m_reader->Window.get(), &CORVBookDlg::EndIfHidden);
    }

    void cleanup()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("holder"));
        QDBusConnection::disconnectFromBus(QStringLiteral("leaver"));
        m_reader.reset();
        m_folder.reset();
    }

    void aHeldWindowHidesAndEndsWhenTheLastHoldEnds()
    {
        CORVBookDlg& window = *m_reader->Window;
        Client(QStringLiteral("holder"));
        Client(QStringLiteral("leaver"));
        QCOMPARE(Call(QStringLiteral("holder"), QStringLiteral("Hold")).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(Call(QStringLiteral("leaver"), QStringLiteral("Hold")).type(), QDBusMessage::ReplyMessage);
        MessageRecorder messages;
        QSignalSpy ended(&window, &CORVBookDlg::ProgramEnded);
        QVERIFY(!window.close());
        QVERIFY(window.isHidden());
        QVERIFY2(messages.Messages().empty(), "a held program is not asked whether to quit");

        Call(QStringLiteral("holder"), QStringLiteral("Release"));
        QTest::qWait(100);
        QCOMPARE(ended.size(), 0);
        // The other client leaves the bus without a release: its hold ends with it.
        QDBusConnection::disconnectFromBus(QStringLiteral("leaver"));
        QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 5000);
        QVERIFY(messages.Messages().empty());
    }

    void scriptsShowDirectoriesAndSearch()
    {
        Client(QStringLiteral("holder"));
        QDBusMessage shown = Call(QStringLiteral("holder"), QStringLiteral("ShowDirectory"), { 56 });
        QCOMPARE(shown.arguments().value(0).toBool(), true);
        QCOMPARE(m_reader->State.CurrentDirID, 56);
        QCOMPARE(Call(QStringLiteral("holder"), QStringLiteral("ShowDirectory"), { 99999 })
                     .arguments()
                     .value(0)
                     .toBool(),
            false);
        QCOMPARE(Call(QStringLiteral("holder"), QStringLiteral("Search"), { QStringLiteral("预紧力") })
                     .arguments()
                     .value(0)
                     .toInt(),
            2);
        QCOMPARE(Call(QStringLiteral("holder"), QStringLiteral("OpenGallery"), { QStringLiteral("elec") })
                     .arguments()
                     .value(0)
                     .toBool(),
            true);
        QCOMPARE(m_reader->State.CurrentGallery, 1);
    }

    void aSecondStartHandsItsGalleryOver()
    {
        QProcess second;
        second.start(QStringLiteral(ORVBOOK_PATH),
            { QStringLiteral("--app-dir"), QString::fromStdString(platform::NativePath(m_app)),
                QString::fromStdString(platform::NativePath(m_app + "\\ORVBookLib\\Elec.GAL")) });
        QVERIFY(second.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 30000);
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_reader->State.CurrentGallery, 1, 10000);
        QVERIFY(m_reader->Window->isVisible());
    }
};

QObject* NewAutomationBusTest()
{
    return new AutomationBusTest;
}

} // namespace orv::test

#include "AutomationBusTest.moc"
