#pragma once
// "已找到的主题": every directory named like an index term, with its location, for the user to
// pick one. Rows and the choice are the core's (navigation/TopicChooser.h).

#include "navigation/TopicChooser.h"

#include <QDialog>

#include <cstdint>
#include <optional>
#include <string>

class QTreeWidget;

namespace orv {

struct ReaderState;

class CTopicListDlg : public QDialog {
    Q_OBJECT
public:
    enum Control : int { kList = 1012 };

    CTopicListDlg(const ReaderState& state, const std::string& term, QWidget* parent = nullptr);

    // The directory chosen when the dialog was accepted; nothing after a cancel or when the
    // list was empty.
    std::optional<std::int32_t> Chosen() const { return m_result; }
    QTreeWidget* List() const { return m_list; }

    void accept() override;

private:
    TopicChooser m_chooser;
    QTreeWidget* m_list;
    std::optional<std::int32_t> m_result;
};

} // namespace orv
