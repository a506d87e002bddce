#include "browser/ui/OptionsDlg.h"

#include "app/ReaderState.h"
#include "browser/render/GridPainter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {
namespace {

std::uint32_t ToBgr(const QColor& colour)
{
    return static_cast<std::uint32_t>(colour.red()) | (static_cast<std::uint32_t>(colour.green()) << 8)
        | (static_cast<std::uint32_t>(colour.blue()) << 16);
}

QIcon Swatch(std::uint32_t bgr)
{
    QPixmap pixmap(24, 14);
    pixmap.fill(ColorFromColorRef(bgr));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 23, 13);
    return QIcon(pixmap);
}

} // namespace

COptionsDlg::COptionsDlg(ReaderState& state, QWidget* parent)
    : QDialog(parent)
    , m_state(state)
{
    setObjectName(QStringLiteral("COptionsDlg"));
    setWindowTitle(QStringLiteral("选项"));
    const QPalette palette = this->palette();
    m_system.Window = ToBgr(palette.color(QPalette::Base));
    m_system.WindowText = ToBgr(palette.color(QPalette::Text));
    m_system.Face = ToBgr(palette.color(QPalette::Button));
    m_options = ReadBrowseOptions(m_state.IniPath, m_system);

    auto numberCombo = [this](int id, int value) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("ctl%1").arg(id));
        for (int i = 1; i <= 9; ++i)
            combo->addItem(QString::number(i));
        combo->setCurrentIndex(value - 1);
        return combo;
    };
    m_rows = numberCombo(kRows, m_options.Rows);
    m_columns = numberCombo(kColumns, m_options.Columns);
    m_background = MakeColourCombo(kBackground, m_options.Background);
    m_foreground = MakeColourCombo(kForeground, m_options.Foreground);
    // Kept in the settings as they are; nothing shows them.
    m_textFore = MakeColourCombo(kTextFore, m_options.TextFore);
    m_textBack = MakeColourCombo(kTextBack, m_options.TextBack);
    m_textFore->hide();
    m_textBack->hide();

    auto* systemColours = new QCheckBox(QStringLiteral("系统外观颜色"), this);
    systemColours->setObjectName(QStringLiteral("ctl%1").arg(kSystemColours));
    connect(systemColours, &QCheckBox::toggled, this, [this](bool checked) {
        if (!checked)
            return;
        ApplySystemAppearance(m_options, m_system);
        SelectColour(m_background, m_options.Background);
        SelectColour(m_foreground, m_options.Foreground);
    });
    m_showJoin = new QCheckBox(QStringLiteral("浏览中同时显示被关联的图纸"), this);
    m_showJoin->setObjectName(QStringLiteral("ctl%1").arg(kShowJoin));
    m_showJoin->setChecked(m_options.ShowJoin);
    m_showJoin->hide();
    m_showDlg = new QCheckBox(QStringLiteral("插图件前指定插入方式"), this);
    m_showDlg->setObjectName(QStringLiteral("ctl%1").arg(kShowDlg));
    m_showDlg->setChecked(m_options.ShowDlg);
    m_showDlg->hide();

    auto* browse = new QGroupBox(QStringLiteral("浏览"), this);
    auto* browseForm = new QFormLayout(browse);
    browseForm->addRow(QStringLiteral("图像行数:"), m_rows);
    browseForm->addRow(QStringLiteral("图像列数:"), m_columns);
    auto* picture = new QGroupBox(QStringLiteral("图像"), this);
    auto* pictureForm = new QFormLayout(picture);
    pictureForm->addRow(QStringLiteral("背景颜色:"), m_background);
    pictureForm->addRow(QStringLiteral("前景颜色:"), m_foreground);
    pictureForm->addRow(systemColours);

    auto* layers = new QPushButton(QStringLiteral("图层设置"), this);
    layers->setObjectName(QStringLiteral("ctl%1").arg(kLayers));
    layers->setAutoDefault(false);
    connect(layers, &QPushButton::clicked, this, &COptionsDlg::LayerSettingsRequested);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("确认"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ctl1"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("放弃"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("ctl2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COptionsDlg::reject);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(layers);
    bottom->addStretch(1);
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browse);
    layout->addWidget(picture);
    layout->addLayout(bottom);
}

QComboBox* COptionsDlg::MakeColourCombo(int id, std::uint32_t colour)
{
    auto* combo = new QComboBox(this);
    combo->setObjectName(QStringLiteral("ctl%1").arg(id));
    SelectColour(combo, colour);
    return combo;
}

void COptionsDlg::SelectColour(QComboBox* combo, std::uint32_t colour)
{
    // The seven, and the current colour too when it is none of them, so it is kept.
    int selected = 0;
    const std::vector<ColourEntry> entries = ColourEntries(colour, selected);
    combo->clear();
    for (const ColourEntry& entry : entries)
        combo->addItem(Swatch(entry.Colour), QString::fromStdString(entry.Name), QVariant::fromValue(entry.Colour));
    combo->setCurrentIndex(selected);
}

void COptionsDlg::accept()
{
    auto colourOf = [](const QComboBox* combo) { return combo->currentData().value<std::uint32_t>(); };
    m_options.Rows = m_rows->currentIndex() + 1;
    m_options.Columns = m_columns->currentIndex() + 1;
    m_options.Background = colourOf(m_background);
    m_options.Foreground = colourOf(m_foreground);
    m_options.TextFore = colourOf(m_textFore);
    m_options.TextBack = colourOf(m_textBack);
    m_options.ShowJoin = m_showJoin->isChecked();
    m_written = WriteBrowseOptions(m_state.IniPath, m_options);
    QDialog::accept();
}

} // namespace orv
