// The widget tests' main: off-screen windows, and cache and runtime folders of this run's
// own, so the tests never touch the user's temporary folder or imported galleries.

#include "content/ui/LocalContentScheme.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <cstdlib>

namespace orv::test {
QObject* NewMainWindowTest();
QObject* NewNavigationPanelTest();
QObject* NewDialogsTest();
QObject* NewContentViewTest();
QObject* NewDrawingBrowserTest();
QObject* NewFindingContentTest();
QObject* NewCadLinkUiTest();
QObject* NewAutomationBusTest();
} // namespace orv::test

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    orv::test::PrivateHome home;

    // The web engine's sandbox does not start for root, nor in most containers.
    ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    orv::RegisterContentSchemes();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // Test function names on the command line pick the test classes that have them.
    QStringList functions;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] != '-')
            functions << QString::fromLocal8Bit(argv[i]).section(QLatin1Char(':'), 0, 0);
    }
    int failures = 0;
    for (QObject* test : { orv::test::NewDialogsTest(), orv::test::NewNavigationPanelTest(),
             orv::test::NewMainWindowTest(), orv::test::NewContentViewTest(),
             orv::test::NewDrawingBrowserTest(), orv::test::NewFindingContentTest(),
             orv::test::NewCadLinkUiTest(), orv::test::NewAutomationBusTest() }) {
        const bool wanted = functions.isEmpty()
            || std::any_of(functions.begin(), functions.end(), [test](const QString& name) {
                   return test->metaObject()->indexOfMethod(
                              QMetaObject::normalizedSignature((name + "()").toLatin1()))
                       >= 0;
               });
        if (wanted)
            failures += QTest::qExec(test, argc, argv);
        delete test;
    }
    return failures == 0 ? 0 : 1;
}
