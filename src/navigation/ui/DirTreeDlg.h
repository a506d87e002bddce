#pragma once
// The contents tree page: a tree control (1003) that mirrors the core's contents tree, and a
// progress bar (1020) shown at the top while a tree is built from the database. The user's
// selection, expansion and tree commands go to the core; the page shows what comes back and
// reports the caption, the directory to show and the end of a build to the window.

#include <QIcon>
#include <QWidget>

#include <unordered_map>
#include <vector>

class QMenu;
class QProgressBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace orv {

struct ReaderState;

class CDirTreeDlg : public QWidget {
    Q_OBJECT
public:
    enum Control : int { kTree = 1003, kProgress = 1020 };

    CDirTreeDlg(ReaderState& state, QWidget* parent = nullptr);

    // Builds the open gallery's tree and shows it.
    void BuildTree();
    // Selects the current directory's node without treating it as the user's choice.
    void SelectCurrentDir();
    // Whether the page takes selections (false while it builds or moves the selection itself).
    bool IsReady() const { return m_ready; }

    QTreeWidget* Tree() const { return m_tree; }

signals:
    void CaptionChanged(const QString& caption);
    // The current directory changed by the user's choice (or the build's): show it.
    void DirectoryChosen();
    // The tree is empty: show the gallery's home page.
    void HomePageWanted();
    // A build has ended and its tree is on show.
    void TreeShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowProgress(int range, int position);
    const QIcon& NodeIcon(int image, int selectedImage);
    void MirrorTree();
    void MirrorExpansion();
    void MirrorSelection();
    void OnCurrentItemChanged(QTreeWidgetItem* item);
    void OnContextMenu(const QPoint& position);
    void RunTreeMenuCommand(int commandId);

    ReaderState& m_state;
    QTreeWidget* m_tree;
    QProgressBar* m_progress;
    QMenu* m_menu;
    std::vector<QTreeWidgetItem*> m_items; // by node index of the core's tree
    std::unordered_map<int, QIcon> m_icons; // by image pair
    bool m_ready = false;
};

} // namespace orv
