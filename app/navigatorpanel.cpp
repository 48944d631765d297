// SPDX-License-Identifier: MIT
#include "app/navigatorpanel.h"

#include "app/displaynames.h"
#include "app/icons.h"
#include "model/navigator.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStandardItemModel>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace {

constexpr int NavigatorWidth = 150;
constexpr int NavigatorNarrow = 15;

// Shows the navigator's image index as the node's icon and the nodes' names for display.
class NavigatorIcons : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DecorationRole) {
            const int image = QIdentityProxyModel::data(index, Navigator::ImageIndexRole).toInt();
            return QIcon(QPixmap::fromImage(NavigatorImage(image)));
        }
        // Names that are data show in the interface language; a node cut off by a narrow panel
        // shows its whole text.
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return DisplayName(QIdentityProxyModel::data(index, Qt::DisplayRole).toString());
        return QIdentityProxyModel::data(index, role);
    }
};

// The navigator's title bar reacts to a click.
class ClickLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> onClick;

protected:
    void mousePressEvent(QMouseEvent*) override {
        if (onClick) onClick();
    }
};

} // namespace

NavigatorPanel::NavigatorPanel(QStandardItemModel& tree, QWidget* parent)
    : QFrame(parent), tree_(tree), openWidth_(NavigatorWidth) {
    setObjectName(QStringLiteral("NavigatorPanel"));
    setFixedWidth(NavigatorWidth);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* col = new QVBoxLayout(this);
    col->setContentsMargins(2, 2, 2, 2);
    col->setSpacing(2);

    auto* titleRow = new QHBoxLayout;
    titleRow->setSpacing(0);
    auto* title = new ClickLabel(tr("Навигатор"));
    title->onClick = [this] { NavigatorTitleClick(); };
    NavigatorTitle = title;
    NavigatorTitle->setObjectName(QStringLiteral("NavigatorTitle"));
    NavigatorTitle->setAutoFillBackground(true);
    NavigatorTitle->setStyleSheet(
        QStringLiteral("background: #0a246a; color: white; font-weight: bold; padding: 2px;"));
    NavigatorTitle->setMinimumWidth(0);
    titleRow->addWidget(NavigatorTitle, 1);
    ExpandButton = new QToolButton;
    ExpandButton->setObjectName(QStringLiteral("ExpandButton"));
    ExpandButton->setText(QStringLiteral(">"));
    ExpandButton->setFixedSize(11, 18);
    ExpandButton->hide();
    titleRow->addWidget(ExpandButton);
    col->addLayout(titleRow);

    Button2 = new QPushButton(tr("Добавить"));
    Button2->setObjectName(QStringLiteral("Button2"));
    Button5 = new QPushButton(tr("Удалить"));
    Button5->setObjectName(QStringLiteral("Button5"));
    col->addWidget(Button2);
    col->addWidget(Button5);

    TreeView1 = new QTreeView;
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    QFont bold = TreeView1->font();
    bold.setBold(true);
    TreeView1->setFont(bold);
    TreeView1->setHeaderHidden(true);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    icons_ = new NavigatorIcons(this);
    icons_->setSourceModel(&tree);
    TreeView1->setModel(icons_);
    col->addWidget(TreeView1, 1);

    Label1 = new QLabel(QStringLiteral("Label1"));
    Label1->setObjectName(QStringLiteral("Label1"));
    col->addWidget(Label1);

    PopupAdd = new QMenu(this);
    PopupChip = PopupAdd->addAction(tr("Микросхема..."));
    QMenu* special = PopupAdd->addMenu(tr("Специальный элемент"));
    PopupIndicator = special->addAction(tr("Индикатор"));
    PopupSwitch = special->addAction(tr("Переключатель"));
    PopupGenerator = special->addAction(tr("Генератор"));
    PopupProbe = special->addAction(tr("Осциллограф"));

    connect(ExpandButton, &QToolButton::clicked, this, &NavigatorPanel::ExpandButtonClick);
    connect(Button2, &QPushButton::clicked, this, &NavigatorPanel::Button2Click);
}

void NavigatorPanel::ResizeNavigator(int from, int to) {
    const int step = to > from ? 1 : -1;
    for (int w = from; w != to;) {
        w += step;
        setFixedWidth(w);
        QCoreApplication::processEvents();
    }
}

void NavigatorPanel::NavigatorTitleClick() {
    if (width() != openWidth_) return;
    ResizeNavigator(openWidth_, NavigatorNarrow);
    ExpandButton->show();
}

void NavigatorPanel::ExpandButtonClick() {
    ResizeNavigator(width(), openWidth_);
    ExpandButton->hide();
}

void NavigatorPanel::SetOpenWidth(int width) {
    const bool open = !narrowed();
    openWidth_ = width;
    if (open) setFixedWidth(width);
}

QPoint NavigatorPanel::AddMenuPoint() const {
    const QWidget* form = window();
    const QPoint button = Button2->mapTo(form, QPoint(0, 0));
    return QPoint(form->geometry().left() + button.x() + Button2->width() / 2,
                  form->geometry().top() + button.y() + Button2->height() + 24);
}

void NavigatorPanel::Button2Click() {
    PopupAdd->popup(AddMenuPoint());
}

QStandardItem* NavigatorPanel::currentNode() const {
    const QModelIndex index = TreeView1->currentIndex();
    return index.isValid() ? tree_.itemFromIndex(icons_->mapToSource(index)) : nullptr;
}

QModelIndex NavigatorPanel::viewIndex(const QStandardItem* node) const {
    return node ? icons_->mapFromSource(node->index()) : QModelIndex();
}

NavigatorHandle::NavigatorHandle(NavigatorPanel& panel, int min, int max, QWidget* parent)
    : QWidget(parent), panel_(panel), min_(min), max_(max) {
    setObjectName(QStringLiteral("NavigatorHandle"));
    setFixedWidth(5);
    setCursor(Qt::SplitHCursor);
}

void NavigatorHandle::mousePressEvent(QMouseEvent* event) {
    // A narrowed panel is widened by its button, not here.
    if (event->button() != Qt::LeftButton || panel_.narrowed()) return;
    dragging_ = true;
    pressX_ = qRound(event->globalPosition().x());
    pressWidth_ = panel_.openWidth();
}

void NavigatorHandle::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    panel_.SetOpenWidth(std::clamp(pressWidth_ + qRound(event->globalPosition().x()) - pressX_, min_, max_));
}

void NavigatorHandle::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_ || event->button() != Qt::LeftButton) return;
    dragging_ = false;
    Q_EMIT widthChosen(panel_.openWidth());
}
