#pragma once
// The navigation tab panel: the gallery chooser (201, hidden when one gallery is installed)
// above the tabs (1002) "目录", "索引", "搜索" and "书签". The first tab is the contents tree;
// choosing another gallery opens it and rebuilds the tree.

#include <QWidget>

class QTabWidget;

namespace orv {

struct ReaderState;
class CDirTreeDlg;
class CFlatComboBox;

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
    void ShowPage(int index);

    CDirTreeDlg* TreePage() const { return m_treePage; }
    CFlatComboBox* GalleryChooser() const { return m_chooser; }

signals:
    // A gallery was opened (its tree is built): the window updates what depends on it.
    void GalleryOpened();

private:
    void OpenSelectedGallery();
    void OnGalleryChosen(int index);

    ReaderState& m_state;
    CFlatComboBox* m_chooser;
    QTabWidget* m_tabs;
    CDirTreeDlg* m_treePage;
};

} // namespace orv
