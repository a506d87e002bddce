#pragma once
// The search page ("搜索"): the search text (its list the history, then the gallery's
// keywords), the scope, the mode (directory titles or full text), the button that starts a
// search and stops a running one, a progress bar, the count and the results, shown as they
// are found. The search, its running flag and the opening of a result are the core's
// (navigation/SearchPage.h); the page shows and forwards.

#include "navigation/SearchPage.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace orv {

struct ReaderState;

class CSearchDlg : public QWidget {
    Q_OBJECT
public:
    enum Control : int {
        kLabel = 1053,
        kCombo = 1008,
        kScope = 1030,
        kTitleMode = 1022,
        kFullTextMode = 1025,
        kKeywordMode = 1024,
        kStart = 1026,
        kCount = 1029,
        kProgress = 1020,
        kResults = 1027,
    };

    CSearchDlg(ReaderState& state, QWidget* parent = nullptr);

    // A gallery was opened: its history and keywords, no results.
    void LoadForGallery();
    // The button and Enter: a search with the combo's text, or the stop of the running one.
    void StartOrStop();
    // Double-click on result row r.
    void OpenRow(int row);

    QComboBox* Combo() const { return m_combo; }
    QComboBox* Scope() const { return m_scope; }
    QRadioButton* TitleMode() const { return m_title; }
    QRadioButton* FullTextMode() const { return m_fullText; }
    QPushButton* StartButton() const { return m_start; }
    QTreeWidget* Results() const { return m_results; }
    QLabel* Count() const { return m_count; }
    QProgressBar* Progress() const { return m_progress; }
    const SearchPage& Page() const { return m_page; }

signals:
    // CurrentDirID was made current as a new visit, its page to highlight: show it.
    void DirectoryJumped();
    // A search started (true) or ended (false): the content page waits meanwhile.
    void SearchRunningChanged(bool running);
    // The found directory's source text, for the text window, with the text to find in it.
    void SourceTextFound(const QString& text, const QString& find);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillCombo();
    void AddRow(const SearchRow& row);
    void ShowCount();

    ReaderState& m_state;
    SearchPage m_page;
    SearchSettings m_settings;
    QComboBox* m_combo;
    QComboBox* m_scope;
    QRadioButton* m_title;
    QRadioButton* m_fullText;
    QRadioButton* m_keyword;
    QPushButton* m_start;
    QLabel* m_count;
    QProgressBar* m_progress;
    QTreeWidget* m_results;
};

} // namespace orv
