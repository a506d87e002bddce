#pragma once
// The keyword index page ("索引"): a combo box for the typed text (its list the search
// history), the index terms, and "显示". Typing moves the selection to the first term that
// begins with the text; a double-click, "显示" or Enter opens the selected term, through the
// topic chooser when a neighbour has the same text. The decisions are the core's
// (navigation/KeywordIndex.h).

#include "navigation/KeywordIndex.h"

#include <QWidget>

class QComboBox;
class QListWidget;
class QPushButton;

namespace orv {

struct ReaderState;
class CTopicListDlg;

class CIndexDlg : public QWidget {
    Q_OBJECT
public:
    enum Control : int { kLabel = 1011, kCombo = 1008, kList = 1009, kShow = 1010 };

    CIndexDlg(ReaderState& state, QWidget* parent = nullptr);

    // The open gallery's terms (or its tree's titles) and the history anew.
    void LoadIndex();
    // Opens the selected term.
    void OpenSelected();

    QComboBox* Combo() const { return m_combo; }
    QListWidget* List() const { return m_list; }
    const KeywordIndex& Index() const { return m_index; }

signals:
    // CurrentDirID was made current as a new visit: show it.
    void DirectoryJumped();
    // The topic chooser is about to run (tests answer it).
    void ChooserOpened(orv::CTopicListDlg* chooser);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Select(int row);

    ReaderState& m_state;
    KeywordIndex m_index;
    QComboBox* m_combo;
    QListWidget* m_list;
    QPushButton* m_show;
};

} // namespace orv
