#include "app/ui/MessageDlg.h"

#include "controls/ResourcePictures.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {
namespace {

QLabel* MakePicture(QWidget* parent, int id, int bitmap, bool visible)
{
    auto* picture = new QLabel(parent);
    picture->setObjectName(QStringLiteral("ctl%1").arg(id));
    picture->setPixmap(ResourceBitmap(bitmap, QSize(32, 32)));
    picture->setFixedSize(32, 32);
    picture->setVisible(visible);
    return picture;
}

} // namespace

CMessageDlg::CMessageDlg(
    QWidget* owner, const QString& text, const QString& caption, platform::MessageKind kind)
    : QDialog(owner)
{
    setWindowTitle(caption);
    setWindowIcon(ResourceIcon(kIconMessage));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    const bool question = kind == platform::MessageKind::Question;
    const bool warning = kind == platform::MessageKind::Warning;
    auto* pictures = new QVBoxLayout;
    pictures->addWidget(MakePicture(this, kPictureQuestion, kBitmapQuestion, question));
    pictures->addWidget(MakePicture(this, kPictureInformation, kBitmapInformation, !question && !warning));
    pictures->addWidget(MakePicture(this, kPictureWarning, kBitmapWarning, warning));
    pictures->addStretch(1);

    auto* label = new QLabel(text, this);
    label->setObjectName(QStringLiteral("ctl%1").arg(kText));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(260);
    label->setMaximumWidth(520);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* body = new QHBoxLayout;
    body->setSpacing(14);
    body->addLayout(pictures);
    body->addWidget(label, 1);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("ctl%1").arg(kButtonOk));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("放弃"), this);
    cancel->setObjectName(QStringLiteral("ctl%1").arg(kButtonCancel));
    cancel->setVisible(question);
    connect(ok, &QPushButton::clicked, this, [this] { done(kButtonOk); });
    connect(cancel, &QPushButton::clicked, this, [this] { done(kButtonCancel); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    if (question) {
        buttons->addSpacing(12);
        buttons->addWidget(cancel);
    }
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 12);
    layout->setSpacing(14);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CMessageDlg::reject()
{
    done(kButtonCancel);
}

int CMessageDlg::Show(QWidget* owner, const QString& text, const QString& caption, platform::MessageKind kind)
{
    if (!owner)
        owner = QApplication::activeWindow();
    CMessageDlg dialog(owner, text, caption, kind);
    const int button = dialog.exec();
    return button == kButtonOk ? kButtonOk : kButtonCancel;
}

void CMessageDlg::Install()
{
    platform::SetShowMessageHook(
        [](const std::string& text, const std::string& caption, platform::MessageKind kind) {
            return Show(nullptr, QString::fromStdString(text), QString::fromStdString(caption), kind);
        });
}

} // namespace orv
