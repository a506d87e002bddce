#include "UiSupport.h"

#include "app/StartUp.h"
#include "content/ui/ContentView.h"
#include "platform/Encoding.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <QVariant>
#include <QWebEnginePage>
#include <QWidget>

#include <filesystem>
#include <sstream>

namespace orv::test {
namespace {

namespace fs = std::filesystem;

const std::string& DemoFolder()
{
    static TempFolder folder;
    static const std::string made = [] {
        const std::string native = folder.NativeAt("demo-app");
        const ToolResult result = RunProgram({ ORVDEMO_PATH, ORV_DEMO_SOURCE, native, "--quiet" });
        if (result.status != 0) {
            qWarning("orvdemo failed: %s", result.err.c_str());
            return std::string();
        }
        return native;
    }();
    return made;
}

} // namespace

std::string CopyDemoFolder(const TempFolder& folder)
{
    if (DemoFolder().empty())
        return std::string();
    const std::string target = folder.NativeAt("app");
    std::error_code error;
    fs::copy(DemoFolder(), target, fs::copy_options::recursive, error);
    return error ? std::string() : platform::ProgramPath(target);
}

std::unique_ptr<Reader> OpenReader(const std::string& appPath)
{
    auto reader = std::make_unique<Reader>();
    if (StartUp(reader->State, appPath) != StartUpResult::Ready)
        return reader;
    reader->Window = std::make_unique<CORVBookDlg>(reader->State);
    QSignalSpy shown(reader->Window.get(), &CORVBookDlg::TreeShown);
    reader->Window->resize(1100, 720);
    reader->Window->show();
    // Function keys reach the active window only.
    QApplication::setActiveWindow(reader->Window.get());
    if (!QTest::qWaitForWindowActive(reader->Window.get()))
        qWarning("the reader's window did not become active");
    reader->Window->Start();
    reader->Started = !shown.isEmpty() || shown.wait(20000);
    return reader;
}

MessageRecorder::MessageRecorder(int answer)
{
    m_previous = platform::SetShowMessageHook(
        [this, answer](const std::string& text, const std::string& caption, platform::MessageKind kind) {
            m_messages.push_back({ text, caption, kind });
            return answer;
        });
}

MessageRecorder::~MessageRecorder()
{
    platform::SetShowMessageHook(m_previous);
}

QVariant RunScript(CContentView& view, const QString& script)
{
    QVariant result;
    bool done = false;
    view.page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        qWarning("the script did not finish: %s", qPrintable(script));
    return result;
}

void TypeText(QWidget* widget, const QString& text)
{
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &release);
    }
}

void DoubleClickRow(QTreeWidget* list, int row)
{
    QTreeWidgetItem* item = list->topLevelItem(row);
    if (!item)
        return;
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

QString SaveScreenshot(QWidget* widget, const QString& name)
{
    QDir().mkpath(QStringLiteral(ORV_UI_SCREENSHOTS));
    const QString path = QStringLiteral(ORV_UI_SCREENSHOTS "/%1.png").arg(name);
    widget->grab().save(path, "PNG");
    return path;
}

std::vector<std::string> FileLines(const std::string& nativePath)
{
    std::string bytes = ReadFile(nativePath);
    if (!platform::IsValidUtf8(bytes))
        bytes = platform::Gb18030ToUtf8(bytes);
    std::vector<std::string> lines;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

} // namespace orv::test
