#pragma once
// The application object: it owns the one ReaderState and runs the reader's life: the
// application folder, the start-up picture, the settings and galleries, the main window,
// and (through the window's close) the write-back of the remembered state.
//
// With a screenshot file it runs unattended: messages go to standard error instead of a
// dialog, and once the first contents tree is on show the window is saved as PNG and the
// program ends (status 0, or 1 with the reason on standard error).

#include "app/ReaderState.h"

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>

#include <chrono>
#include <memory>
#include <string>

namespace orv {

class CORVBookDlg;
class CSplashDlg;

struct AppOptions {
    std::string AppDir; // "--app-dir"; "" to find it the usual way
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

private:
    void OnTreeShown();
    void SaveScreenshot();

    AppOptions m_options;
    ReaderState m_state;
    QPointer<CSplashDlg> m_splash;
    std::unique_ptr<CORVBookDlg> m_window;
    bool m_firstTreeShown = false;
    std::chrono::steady_clock::duration m_firstTreeAfter {};
};

} // namespace orv
