#include "navigation/ui/DirTreeDlg.h"

#include "app/AddOnCall.h"
#include "app/MainCommands.h"
#include "app/ReaderState.h"
#include "controls/ResourcePictures.h"
#include "navigation/DirectoryQueries.h"
#include "navigation/TreeBuild.h"
#include "navigation/TreeCommands.h"
#include "navigation/ui/PageWidgets.h"
#include "platform/Hooks.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace orv {
namespace {

constexpr int kNodeRole = Qt::UserRole;
constexpr int kDirIdRole = Qt::UserRole + 1;

} // namespace

CDirTreeDlg::CDirTreeDlg(ReaderState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_tree(new QTreeWidget(this))
    , m_progress(new QProgressBar(this))
    , m_menu(new QMenu(this))
{
    m_tree->setObjectName(QStringLiteral("ctl%1").arg(kTree));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    // Long names scroll sideways instead of being cut.
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_tree->setRootIsDecorated(true);
    m_tree->setUniformRowHeights(true);
    m_tree->setIconSize(QSize(16, 16));
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tree->setEnabled(false);
    m_tree->viewport()->installEventFilter(this);
    m_tree->installEventFilter(this);
    // While the content view loads a page the tree takes no input.
    (new CBusyInputGuard(state, this))->Watch(m_tree);

    m_progress->setObjectName(QStringLiteral("ctl%1").arg(kProgress));
    m_progress->setTextVisible(false);
    m_progress->setFixedHeight(qMax(6, style()->pixelMetric(QStyle::PM_TitleBarHeight) / 2));
    m_progress->hide();

    m_menu->setObjectName(QStringLiteral("TREE"));
    const std::pair<int, const char*> commands[] = { { kTreeExpandCommand, "展开目录" },
        { kTreeCollapseCommand, "收缩目录" }, { kTreeRestoreCommand, "恢复目录" } };
    for (const auto& [id, text] : commands) {
        QAction* action = m_menu->addAction(QString::fromUtf8(text));
        action->setObjectName(QStringLiteral("cmd%1").arg(id));
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id = id] { RunTreeMenuCommand(id); });
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_progress);
    layout->addWidget(m_tree, 1);

    connect(m_tree, &QTreeWidget::currentItemChanged, this,
        [this](QTreeWidgetItem* item) { OnCurrentItemChanged(item); });
    connect(m_tree, &QTreeWidget::itemExpanded, this,
        [this](QTreeWidgetItem* item) { m_state.Tree.Expand(item->data(0, kNodeRole).toInt()); });
    connect(m_tree, &QTreeWidget::itemCollapsed, this,
        [this](QTreeWidgetItem* item) { m_state.Tree.Collapse(item->data(0, kNodeRole).toInt()); });
    connect(m_tree, &QTreeWidget::customContextMenuRequested, this,
        [this](const QPoint& position) { OnContextMenu(position); });
}

void CDirTreeDlg::BuildTree()
{
    m_ready = false;
    {
        // The old items name nodes of the old model: they go before the model changes.
        const QSignalBlocker blocker(m_tree);
        m_tree->clear();
        m_items.clear();
    }
    const TreeBuildResult result
        = orv::BuildTree(m_state, [this](int range, int position) { ShowProgress(range, position); });
    if (result.Interrupted)
        return; // a later build shows its own tree
    m_progress->hide();
    MirrorTree();
    m_tree->setEnabled(true);
    m_ready = true;
    if (result.ShowHomePage)
        emit HomePageWanted();
    if (result.Caption) {
        emit CaptionChanged(QString::fromStdString(*result.Caption));
        emit DirectoryChosen();
    }
    emit TreeShown();
}

void CDirTreeDlg::SelectCurrentDir()
{
    if (!SelectDirNode(m_state.Tree, m_state.CurrentDirID))
        return;
    const bool wasReady = m_ready;
    m_ready = false;
    MirrorExpansion();
    MirrorSelection();
    m_ready = wasReady;
}

void CDirTreeDlg::ShowProgress(int range, int position)
{
    if (range <= 0) {
        m_progress->hide();
        return;
    }
    m_progress->setRange(0, range);
    m_progress->setValue(position);
    if (!m_progress->isVisible()) {
        // The build pumps events only now and then: the bar is placed and drawn at once.
        m_progress->show();
        layout()->activate();
        repaint();
    }
}

const QIcon& CDirTreeDlg::NodeIcon(int image, int selectedImage)
{
    // DirTypes past the image list show as pages.
    if (image < 0 || image >= kTreeImageCount)
        image = 3;
    if (selectedImage < 0 || selectedImage >= kTreeImageCount)
        selectedImage = 4;
    // Drawn once per pair: a large tree would otherwise render its pictures for every node.
    QIcon& icon = m_icons[image * kTreeImageCount + selectedImage];
    if (icon.isNull()) {
        icon.addPixmap(TreeImage(image).pixmap(16, 16), QIcon::Normal);
        icon.addPixmap(TreeImage(selectedImage).pixmap(16, 16), QIcon::Selected);
    }
    return icon;
}

void CDirTreeDlg::MirrorTree()
{
    const QSignalBlocker blocker(m_tree);
    const ContentsTree& tree = m_state.Tree;
    m_items.assign(tree.Nodes.size(), nullptr);
    // The items are made outside the view and handed over at once, so the view lays out
    // once instead of once per node.
    QList<QTreeWidgetItem*> topLevel;
    // A parent always comes before its children in the model.
    for (std::size_t i = 0; i < tree.Nodes.size(); ++i) {
        const TreeNode& node = tree.Nodes[i];
        QTreeWidgetItem* item = tree.IsNode(node.Parent)
            ? new QTreeWidgetItem(m_items[static_cast<std::size_t>(node.Parent)])
            : new QTreeWidgetItem();
        if (!tree.IsNode(node.Parent))
            topLevel.append(item);
        item->setText(0, QString::fromStdString(node.Text));
        item->setIcon(0, NodeIcon(node.Image, node.SelectedImage));
        item->setData(0, kNodeRole, static_cast<int>(i));
        item->setData(0, kDirIdRole, node.DirID);
        m_items[i] = item;
    }
    m_tree->addTopLevelItems(topLevel);
    // New items start closed: only the open ones need telling.
    for (std::size_t i = 0; i < tree.Nodes.size(); ++i) {
        if (tree.Nodes[i].Expanded)
            m_items[i]->setExpanded(true);
    }
    MirrorSelection();
}

void CDirTreeDlg::MirrorExpansion()
{
    const QSignalBlocker blocker(m_tree);
    const ContentsTree& tree = m_state.Tree;
    for (std::size_t i = 0; i < m_items.size() && i < tree.Nodes.size(); ++i)
        m_items[i]->setExpanded(tree.Nodes[i].Expanded);
}

void CDirTreeDlg::MirrorSelection()
{
    const QSignalBlocker blocker(m_tree);
    const ContentsTree& tree = m_state.Tree;
    if (!tree.IsNode(tree.Selected) || static_cast<std::size_t>(tree.Selected) >= m_items.size())
        return;
    QTreeWidgetItem* item = m_items[static_cast<std::size_t>(tree.Selected)];
    // Some context above the selection: its previous sibling, else its parent.
    QTreeWidgetItem* parent = item->parent();
    const int row = parent ? parent->indexOfChild(item) : m_tree->indexOfTopLevelItem(item);
    QTreeWidgetItem* above
        = row > 0 ? (parent ? parent->child(row - 1) : m_tree->topLevelItem(row - 1)) : parent;
    if (above)
        m_tree->scrollToItem(above);
    m_tree->setCurrentItem(item);
    m_tree->scrollToItem(item);
}

void CDirTreeDlg::OnCurrentItemChanged(QTreeWidgetItem* item)
{
    if (!item || !m_ready)
        return;
    const TreeSelectionEffect effect = SelectTreeNode(m_state, item->data(0, kNodeRole).toInt());
    if (!effect.Handled)
        return;
    if (effect.Caption) {
        emit CaptionChanged(QString::fromStdString(*effect.Caption));
        emit DirectoryChosen();
    }
    if (effect.Tool) {
        const AddOnResult result = ExecuteAddOnCall(m_state, *effect.Tool);
        if (!result.Message.empty())
            platform::ShowMessage(result.Message, kCommandCaption, platform::MessageKind::Warning);
    }
}

void CDirTreeDlg::OnContextMenu(const QPoint& position)
{
    if (!m_ready)
        return;
    if (QTreeWidgetItem* item = m_tree->itemAt(position)) {
        m_tree->setCurrentItem(item);
        m_tree->scrollToItem(item);
    }
    m_menu->popup(m_tree->viewport()->mapToGlobal(position));
}

void CDirTreeDlg::RunTreeMenuCommand(int commandId)
{
    if (!m_ready || !RunTreeCommand(m_state.Tree, commandId))
        return;
    MirrorExpansion();
    if (m_tree->currentItem())
        m_tree->scrollToItem(m_tree->currentItem());
}

bool CDirTreeDlg::eventFilter(QObject* watched, QEvent* event)
{
    // Rows are selected across the whole width even where the names are short.
    if (watched == m_tree->viewport() && event->type() == QEvent::Resize)
        m_tree->header()->setMinimumSectionSize(m_tree->viewport()->width());
    return QWidget::eventFilter(watched, event);
}

} // namespace orv
