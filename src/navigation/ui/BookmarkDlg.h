#pragma once
// The bookmark page ("书签"): the gallery's bookmarked directories with topic and location,
// "显示" and "删除" under them, the current directory as the current topic, and "添加". The
// list, its stored form and every step are the core's (navigation/Bookmarks.h).

#include "navigation/Bookmarks.h"

#include <QWidget>

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace orv {

struct ReaderState;

class CBookmarkDlg : public QWidget {
    Q_OBJECT
public:
    enum Control : int {
        kLabel = 1015,
        kList = 1013,
        kShow = 1010,
        kDelete = 1012,
        kTopicLabel = 1014,
        kTopic = 1017,
        kAdd = 1016,
    };

    CBookmarkDlg(ReaderState& state, QWidget* parent = nullptr);

    // The open gallery's bookmarks anew.
    void LoadBookmarks();
    // CurrentDirID changed: its name becomes the current topic.
    void UpdateCurrentTopic();
    void Add();
    void Delete();
    void Show();
    void OpenRow(int row);

    QTreeWidget* List() const { return m_list; }
    QLineEdit* Topic() const { return m_topic; }
    const BookmarkList& Bookmarks() const { return m_bookmarks; }

signals:
    // CurrentDirID was made current; recorded: the visit is in the browse history already.
    void DirectoryJumped(bool recorded);

private:
    void FillList();
    void Report(BookmarkList::Change change);

    ReaderState& m_state;
    BookmarkList m_bookmarks;
    QTreeWidget* m_list;
    QLineEdit* m_topic;
};

} // namespace orv
