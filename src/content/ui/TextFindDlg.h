#pragma once
// The text window "查询": the search shows a found text in it and steps from one occurrence
// of the searched words to the next. One modeless window serves the whole program; it first
// stands in the lower-right quarter of the screen.

#include <QDialog>
#include <QPointer>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace orv {

class CTextFindDlg : public QDialog {
    Q_OBJECT
public:
    // The program's one window, made on first use with parent as its owner.
    static CTextFindDlg* Instance(QWidget* parent);

    // Shows the window with the text and selects the first occurrence of the find text.
    void ShowText(const QString& text, const QString& find);
    void FindFirst();
    void FindNext();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    explicit CTextFindDlg(QWidget* parent);
    void Select(std::size_t start, std::size_t length);

    QLineEdit* m_find;
    QPlainTextEdit* m_text;
    QPushButton* m_next;
    static QPointer<CTextFindDlg> s_instance;
};

} // namespace orv
