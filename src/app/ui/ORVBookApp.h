#pragma once
// The application object: it owns the one ReaderState and runs the reader's life: the
// application folder, the start-up picture, the settings and galleries, the main window,
// and (through the window's close) the write-back of the remembered state.
//
// The first start of the user's own application folder fills it from the installed data and
// offers to copy the demo galleries into it.
//
// With a screenshot file it runs unattended: messages go to standard error instead of a
// dialog, and once the first contents tree is on show the window is saved as PNG and the
// program ends (status 0, or 1 with the reason on standard error).

#include "app/ReaderState.h"

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace orv {

class CORVBookDlg;
class CORVBookDlgAutoProxy;
class CSplashDlg;

// The answer to the first start's question whether the demo galleries are copied.
enum class DemoAnswer { Ask, Yes, No };

struct AppOptions {
    std::string AppDir; // "--app-dir"; "" to find it the usual way
    std::string GalleryFile; // a gallery file to open (native, as given); "" for none
    DemoAnswer Demo = DemoAnswer::Ask; // "--demo"; an unattended run takes Ask as Yes
    QString Screenshot; // "--screenshot": the PNG to save, "" for an ordinary run
    QSize Size; // "--size": the window's size instead of maximised
    std::chrono::steady_clock::time_point Started = std::chrono::steady_clock::now();
};

class CORVBookApp : public QObject {
    Q_OBJECT
public:
    explicit CORVBookApp(AppOptions options);
    ~CORVBookApp() override;

    // The whole run; returns the process's exit status.
    int Run();

    ReaderState& State() { return m_state; }
    CORVBookDlg* MainWindow() const { return m_window.get(); }

    // The application object on the session bus; null without a bus.
    CORVBookDlgAutoProxy* Automation() const { return m_proxy; }

private:
    std::optional<std::string> PrepareAppFolder(bool unattended);
    void OnTreeShown();
    void SaveScreenshot();

    AppOptions m_options;
    ReaderState m_state;
    QPointer<CSplashDlg> m_splash;
    std::unique_ptr<CORVBookDlg> m_window;
    CORVBookDlgAutoProxy* m_proxy = nullptr; // a child of the window
    bool m_firstTreeShown = false;
    std::chrono::steady_clock::duration m_firstTreeAfter {};
};

} // namespace orv
