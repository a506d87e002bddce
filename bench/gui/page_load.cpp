// Time from choosing a directory in the contents tree to the end of its page's load in the
// content view, through the reader's own window (off screen): the packaged pages of the demo
// mechanical gallery whose directories have no drawings (those open on their drawing grid),
// each chosen in turn, several rounds. The core's share (content key,
// extraction, pages written) is content_bench's.
//
//   page_load APP_DIR [ROUNDS]      (APP_DIR: a demo application folder, as orvdemo writes it)
//
// Prints the median, the 90th percentile and the slowest over all selections. The first selection of a run also
// starts the web engine's renderer and is reported on its own.

#include "app/ReaderState.h"
#include "app/StartUp.h"
#include "app/ui/ORVBookDlg.h"
#include "content/DirectoryContent.h"
#include "content/ui/LocalContentScheme.h"
#include "navigation/ui/ContentTabDlg.h"
#include "navigation/ui/DirTreeDlg.h"
#include "navigation/ui/NavTabDlg.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Runs the event loop until done() holds or timeoutMs pass; false on the timeout.
template <typename Done> bool WaitFor(Done done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: page_load APP_DIR [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    orv::RegisterContentSchemes();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);

    orv::ReaderState state;
    if (orv::StartUp(state, orv::platform::ProgramPath(argv[1])) != orv::StartUpResult::Ready) {
        std::fprintf(stderr, "page_load: no gallery in %s\n", argv[1]);
        return 1;
    }
    orv::CORVBookDlg window(state);
    bool treeShown = false;
    QObject::connect(&window, &orv::CORVBookDlg::TreeShown, [&] { treeShown = true; });
    int loads = 0;
    QObject::connect(&window, &orv::CORVBookDlg::PageLoaded, [&] { ++loads; });
    window.resize(1100, 720);
    window.show();
    window.Start();
    if (!WaitFor([&] { return treeShown && state.ContentViewReady && loads > 0; }, 30000)) {
        std::fprintf(stderr, "page_load: the first page did not load\n");
        return 1;
    }

    // The tree's directories whose page is packaged, by their content key (asked of the core:
    // choosing a tool node would start its program).
    QTreeWidget* tree = window.NavigationPanel()->TreePage()->Tree();
    std::vector<QTreeWidgetItem*> packaged;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        std::string key;
        bool compressed = false;
        orv::GetDirectoryContent(state, (*it)->data(0, Qt::UserRole + 1).toInt(), key, compressed);
        if (compressed)
            packaged.push_back(*it);
    }
    // A directory with drawings opens on its grid and loads no page: only the others count.
    orv::CContentTabDlg* panel = window.ContentPanel();
    std::vector<QTreeWidgetItem*> shown;
    for (QTreeWidgetItem* item : packaged) {
        WaitFor([&] { return state.ContentViewReady; }, 15000);
        tree->setCurrentItem(item);
        if (panel->Tabs()->currentIndex() == 0)
            shown.push_back(item);
    }
    packaged = shown;
    if (packaged.size() < 2) {
        std::fprintf(stderr, "page_load: the gallery has fewer than two packaged pages\n");
        return 1;
    }

    std::vector<double> times;
    double first = -1;
    for (int round = 0; round < rounds; ++round) {
        for (QTreeWidgetItem* item : packaged) {
            WaitFor([&] { return state.ContentViewReady; }, 15000);
            const int before = loads;
            QElapsedTimer clock;
            clock.start();
            tree->setCurrentItem(item);
            // The redirect page of a marked page ends a load too: the copy's own ends the wait.
            if (!WaitFor([&] { return loads > before && state.ContentViewReady; }, 15000)) {
                std::fprintf(stderr, "page_load: a page did not load\n");
                return 1;
            }
            const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            if (first < 0)
                first = ms;
            else
                times.push_back(ms);
        }
    }
    std::sort(times.begin(), times.end());
    std::printf("packaged pages of directories without drawings: %zu, selections: %zu\n", packaged.size(), times.size() + 1);
    std::printf("tree selection to page loaded: median %.1f ms, 90th percentile %.1f ms, slowest %.1f ms"
                " (first %.1f ms)\n",
        times[times.size() / 2], times[times.size() * 9 / 10], times.back(), first);
    return 0;
}
