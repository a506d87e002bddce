#pragma once
// The navigation tab panel: the gallery chooser (201, hidden when one gallery is installed)
// above the tabs (1002) "目录", "索引", "搜索" and "书签": the contents tree, the keyword
// index, the search and the bookmarks. The last three pages are made on their first showing;
// choosing another gallery opens it, rebuilds the tree and reloads the pages that exist.

#include <QWidget>

class QTabWidget;

namespace orv {

struct ReaderState;
class CBookmarkDlg;
class CDirTreeDlg;
class CFlatComboBox;
class CIndexDlg;
class CSearchDlg;

class CNavTabDlg : public QWidget {
    Q_OBJECT
public:
    enum Control : int { kGalleryChooser = 201, kTabs = 1002 };

    CNavTabDlg(ReaderState& state, QWidget* parent = nullptr);

    // Fills the chooser with the installed galleries; hides it when there is only one.
    void LoadGalleryList();
    // Selects the current gallery in the chooser and opens it.
    void SelectOpenGallery();
    void SelectCurrentDir();
    // CurrentDirID changed: the bookmark page's current topic follows.
    void UpdateCurrentTopic();
    void ShowPage(int index);

    CDirTreeDlg* TreePage() const { return m_treePage; }
    // The other pages; null until their tab was first shown.
    CIndexDlg* IndexPage() const { return m_indexPage; }
    CSearchDlg* SearchPage() const { return m_searchPage; }
    CBookmarkDlg* BookmarkPage() const { return m_bookmarkPage; }
    CFlatComboBox* GalleryChooser() const { return m_chooser; }
    QTabWidget* Tabs() const { return m_tabs; }

signals:
    // A gallery was opened (its tree is built): the window updates what depends on it.
    void GalleryOpened();
    // A page made CurrentDirID current; recorded: the visit is in the browse history already.
    void DirectoryJumped(bool recorded);
    // A search started or ended.
    void SearchRunningChanged(bool running);
    void SourceTextFound(const QString& text, const QString& find);

private:
    void OpenSelectedGallery();
    void OnGalleryChosen(int index);
    void CreatePage(int index);

    ReaderState& m_state;
    CFlatComboBox* m_chooser;
    QTabWidget* m_tabs;
    CDirTreeDlg* m_treePage;
    CIndexDlg* m_indexPage = nullptr;
    CSearchDlg* m_searchPage = nullptr;
    CBookmarkDlg* m_bookmarkPage = nullptr;
};

} // namespace orv
