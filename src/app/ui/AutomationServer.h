#pragma once
// The application object on the session bus: "ORVBook.Application" for scripts and other
// programs. Hold and Release keep the program alive while a client works with it (closing the
// main window then only hides it); a client that leaves the bus lets go of its holds. Beyond
// that the object brings the window forward, opens a gallery, shows a directory, runs a search,
// and takes the arguments of a second start on the same application folder.

#include "app/Automation.h"

#include <QDBusContext>
#include <QObject>
#include <QStringList>

class QDBusServiceWatcher;

namespace orv {

struct ReaderState;
class CORVBookDlg;

class CORVBookDlgAutoProxy : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.orvbook.ORVBook.Application")
public:
    CORVBookDlgAutoProxy(ReaderState& state, CORVBookDlg& window);
    ~CORVBookDlgAutoProxy() override;

    // Puts the object and the folder's bus name on the session bus; false without a bus or
    // when another reader has the name already.
    bool Register();
    bool Holds() const { return m_holds.Any(); }

    // A second start on the same folder: hands its arguments to the reader that runs there and
    // brings it forward; false when there is no such reader (or no bus).
    static bool HandToRunningReader(const std::string& appPath, const QStringList& arguments);

public slots:
    Q_SCRIPTABLE void Hold();
    Q_SCRIPTABLE void Release();
    Q_SCRIPTABLE void Activate();
    // The gallery by its name in the gallery list or its file's base name; false when there is
    // none such or it cannot be opened now (a search runs).
    Q_SCRIPTABLE bool OpenGallery(const QString& name);
    // False for a directory the open gallery does not have.
    Q_SCRIPTABLE bool ShowDirectory(int dirId);
    // A full-text search on the search page; the number of rows found.
    Q_SCRIPTABLE int Search(const QString& text);
    // A second start's arguments: each a gallery file to open (added to the list for this run
    // when it lies outside the gallery folder).
    Q_SCRIPTABLE void HandArguments(const QStringList& arguments);

signals:
    // The last hold ended: the window, if hidden, may now end the program.
    void HoldsEnded();

private:
    void ClientLeft(const QString& client);

    ReaderState& m_state;
    CORVBookDlg& m_window;
    AutomationHolds m_holds;
    QDBusServiceWatcher* m_watcher;
    QString m_busName;
};

} // namespace orv
