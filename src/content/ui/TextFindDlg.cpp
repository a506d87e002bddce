#include "content/ui/TextFindDlg.h"

#include "content/TextFind.h"
#include "controls/ResourcePictures.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>

namespace orv {
namespace {

constexpr int kFindEdit = 1049;
constexpr int kNextButton = 1050;
constexpr int kTextEdit = 1051;
constexpr int kMargin = 8;

std::u16string_view View(const QString& text)
{
    return { reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()) };
}

} // namespace

QPointer<CTextFindDlg> CTextFindDlg::s_instance;

CTextFindDlg* CTextFindDlg::Instance(QWidget* parent)
{
    if (!s_instance) {
        s_instance = new CTextFindDlg(parent);
        const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            const QRect area = screen->geometry();
            const WindowPlace place = TextWindowPlace(area.width(), area.height());
            s_instance->setGeometry(area.x() + place.X, area.y() + place.Y, place.Width, place.Height);
        }
    }
    return s_instance;
}

CTextFindDlg::CTextFindDlg(QWidget* parent)
    : QDialog(parent)
    , m_find(new QLineEdit(this))
    , m_text(new QPlainTextEdit(this))
    , m_next(new QPushButton(QStringLiteral("下一个"), this))
{
    setObjectName(QStringLiteral("CTextFindDlg"));
    setWindowTitle(QStringLiteral("查询"));
    setWindowIcon(ResourceIcon(kIconTabSearch));
    setModal(false);

    auto* label = new QLabel(QStringLiteral("查询:"), this);
    label->setBuddy(m_find);
    m_find->setObjectName(QStringLiteral("ctl%1").arg(kFindEdit));
    m_next->setObjectName(QStringLiteral("ctl%1").arg(kNextButton));
    m_next->setDefault(true);
    m_text->setObjectName(QStringLiteral("ctl%1").arg(kTextEdit));
    m_text->setReadOnly(true);
    // The text shows no menu of its own: a right click does nothing there.
    m_text->setContextMenuPolicy(Qt::NoContextMenu);

    const int row = m_find->sizeHint().height();
    label->setGeometry(kMargin, kMargin, label->sizeHint().width(), row);
    m_find->setGeometry(label->geometry().right() + kMargin / 2, kMargin, 200, row);
    m_next->setGeometry(m_find->geometry().right() + kMargin, kMargin, m_next->sizeHint().width(), row);
    m_text->move(kMargin, kMargin * 2 + row);
    resize(480, 320);

    connect(m_next, &QPushButton::clicked, this, &CTextFindDlg::FindNext);
    connect(m_find, &QLineEdit::returnPressed, this, &CTextFindDlg::FindNext);
}

void CTextFindDlg::ShowText(const QString& text, const QString& find)
{
    show();
    raise();
    m_text->setPlainText(text);
    m_find->setText(find);
    FindFirst();
}

void CTextFindDlg::FindFirst()
{
    const QString text = m_text->toPlainText();
    if (const auto match = FindFirstIn(View(text), View(m_find->text())))
        Select(match->Start, match->Length);
}

void CTextFindDlg::FindNext()
{
    const QString text = m_text->toPlainText();
    const auto end = static_cast<std::size_t>(m_text->textCursor().selectionEnd());
    if (const auto match = FindNextIn(View(text), View(m_find->text()), end))
        Select(match->Start, match->Length);
}

void CTextFindDlg::Select(std::size_t start, std::size_t length)
{
    QTextCursor cursor = m_text->textCursor();
    cursor.setPosition(static_cast<int>(start));
    cursor.setPosition(static_cast<int>(start + length), QTextCursor::KeepAnchor);
    m_text->setTextCursor(cursor);
    m_text->ensureCursorVisible();
}

void CTextFindDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    // The text fills the window, with its left offset as the margin on the right and below.
    const QPoint at = m_text->pos();
    m_text->resize(qMax(0, width() - 2 * at.x()), qMax(0, height() - at.y() - at.x()));
}

} // namespace orv
