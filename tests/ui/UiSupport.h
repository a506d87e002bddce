#pragma once
// What the widget tests share: the demo application folder (made once per run by orvdemo, a
// fresh copy for each test), a reader window opened on such a copy, a recorder that answers
// the program's messages in place of the user, and screenshots for a look at the result.

#include "app/ReaderState.h"
#include "app/ui/ORVBookDlg.h"
#include "platform/Hooks.h"
#include "support/TestSupport.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

class QTreeWidget;
class QVariant;
class QWidget;

namespace orv {
class CContentView;
}

namespace orv::test {

// A fresh copy of the demo application folder; "" (after a failed QVERIFY-able check) when
// orvdemo failed.
std::string CopyDemoFolder(const TempFolder& folder);

// The reader on an application folder: state started up, window shown at 1100 x 720 and its
// first tree built.
struct Reader {
    ReaderState State;
    std::unique_ptr<CORVBookDlg> Window;
    bool Started = false; // start-up found galleries and the first tree was shown
};
std::unique_ptr<Reader> OpenReader(const std::string& appPath);

struct RecordedMessage {
    std::string Text, Caption;
    platform::MessageKind Kind;
};

// Answers every message with answer (1 "确定", 2 "放弃") and keeps them, while it lives.
class MessageRecorder {
public:
    explicit MessageRecorder(int answer = 1);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const std::vector<RecordedMessage>& Messages() const { return m_messages; }

private:
    std::vector<RecordedMessage> m_messages;
    platform::ShowMessageHook m_previous;
};

// Types text as key presses that carry it, as an input method hands over Chinese characters.
void TypeText(QWidget* widget, const QString& text);
// Double-clicks a row of a list: a press first, as an item view takes a double-click only on
// the item its press went to.
void DoubleClickRow(QTreeWidget* list, int row);

// The result of a script run in the view, waited for (at most 10 s).
QVariant RunScript(CContentView& view, const QString& script);

// Saves the widget's picture as <screenshot folder>/<name>.png and returns the path.
QString SaveScreenshot(QWidget* widget, const QString& name);

// The lines of a text file (UTF-8 or GB18030), none when it is missing.
std::vector<std::string> FileLines(const std::string& nativePath);

} // namespace orv::test
