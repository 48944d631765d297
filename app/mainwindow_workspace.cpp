// SPDX-License-Identifier: MIT
// The main window's workspace commands: re-route and redraw, wire layer, zoom, wheel, hover, the
// pointer handlers and the editing commands.
#include "app/displaynames.h"
#include "app/mainwindow.h"

#include "app/navigatorpanel.h"
#include "editor/elementpicture.h"
#include "editor/pointerstate.h"
#include "editor/workspaceframe.h"

#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <functional>

namespace {

// Passes the workspace's events of one type to a handler of the main window; the handler says
// whether the event ends there.
class EventHook : public QObject {
public:
    EventHook(QEvent::Type type, std::function<bool(QEvent*)> handler, QObject* parent)
        : QObject(parent), type_(type), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == type_ && handler_(event); }

private:
    QEvent::Type type_;
    std::function<bool(QEvent*)> handler_;
};

} // namespace

void TForm1::ConnectWorkspace() {
    Pointer = new PointerState(*document_, *Frame21, options_, this);
    connect(Pointer, &PointerState::rerouteRequested, this, &TForm1::Button4Click);
    SurfaceView* surface = Frame21->Image1();
    connect(surface, &SurfaceView::mousePressed, this, &TForm1::Frame21Image1MouseDown);
    connect(surface, &SurfaceView::mouseMoved, this, &TForm1::Frame21Image1MouseMove);
    connect(surface, &SurfaceView::clicked, this, &TForm1::Frame21Image1Click);
    connect(surface, &SurfaceView::mouseReleased, this, &TForm1::Frame21Image1MouseUp);
    connect(Frame21, &TFrame2::picturePressed, this, &TForm1::Image1MouseDown);
    connect(Frame21, &TFrame2::pictureMoved, this, &TForm1::Image1MouseMove);
    connect(Frame21, &TFrame2::pictureReleased, this, &TForm1::Image1MouseUp);
    connect(Image1, &ElementPicture::pressed, this, &TForm1::Image1MouseDown);
    connect(Image1, &ElementPicture::moved, this, &TForm1::Image1MouseMove);
    connect(Image1, &ElementPicture::released, this, &TForm1::Image1MouseUp);
    QWidget* viewport = Frame21->viewport();
    viewport->installEventFilter(new EventHook(
        QEvent::Wheel,
        [this](QEvent* event) {
            FormMouseWheel(static_cast<QWheelEvent*>(event));
            return true;
        },
        this));
    // The pointer left the workspace: no net is under it any more. A context menu that opens over
    // the wire keeps its net (the menu's command removes it).
    viewport->installEventFilter(new EventHook(
        QEvent::Leave,
        [this](QEvent*) {
            if (!contextMenuOpen_) SetHoverNet(-1);
            return false;
        },
        this));
}

void TForm1::DrawField() {
    Frame21->ToggleWires();
}

void TForm1::Button4Click() {
    document_->Reroute();
}

void TForm1::DocumentChanged(SchematicDocument::Changes what) {
    // A net number under the pointer may name another net after an undo or a redo: until the
    // pointer moves again no wire counts as under it.
    if ((what & SchematicDocument::HistoryChanged) && (what & SchematicDocument::NetsChanged))
        SetHoverNet(-1);
    if (what & SchematicDocument::WiresChanged) {
        Frame21->ShowWires();
        Memo2->setPlainText(document_->consLog().join(u'\n'));
    }
    if (what & SchematicDocument::NetsChanged)
        NavPanel->Label1->setText(QString::number(model().Conns().size()));
    if (what & (SchematicDocument::ElementsChanged | SchematicDocument::NavigatorChanged)) ShowElementTips();
}

void TForm1::ShowElementTips() {
    const Schematic& s = model();
    // The marking of each chip element: the text of its placed node's group.
    std::vector<QString> marks(static_cast<size_t>(s.ElementCount()) + 1);
    for (const QStandardItem* node : s.navigator().nodesInTreeOrder()) {
        const int k = Navigator::dataRef(node);
        if (Navigator::imageIndex(node) == Navigator::ImagePlaced && node->parent() && k >= 1 &&
            k <= s.ElementCount())
            marks[static_cast<size_t>(k)] = node->parent()->text();
    }
    for (int k = 1; k <= s.ElementCount(); ++k) {
        ElementPicture* picture = Frame21->picture(k);
        if (!picture) continue;
        const TElement& e = s.element(k);
        const QString& mark = marks[static_cast<size_t>(k)];
        picture->setToolTip(e.kind() == ElementKind::Chip && !mark.isEmpty() ? e.Name + u'\n' + mark
                                                                             : DisplayName(e.Name));
    }
}

void TForm1::RepaintElements() {
    // The picture's box follows Coord at the new Scale; for every element on the grid this is
    // the position (left div PrevScale) * Scale + 2 taken from the old box.
    for (int i = 1; i <= model().ElementCount(); ++i)
        if (Frame21->picture(i)) Frame21->LayoutPicture(i);
}

void TForm1::ComboBox1Change() {
    ViewState& view = Frame21->view();
    view.PrevScale = view.Scale;
    view.Scale = ComboBox1->currentIndex() + 3;
    DesktopSetup();
    RepaintElements();
    Button4Click();
}

void TForm1::FormMouseWheel(QWheelEvent* event) {
    Pointer->EndBand();
    if (event->modifiers() & Qt::ControlModifier) {
        const int turn = event->angleDelta().y();
        if (turn != 0) ZoomAt(event->position().toPoint(), turn > 0 ? 1 : -1);
        event->accept();
        return;
    }
    const int d = event->angleDelta().y() / 8;
    QScrollBar* bar = (event->modifiers() & Qt::ShiftModifier) ? Frame21->horizontalScrollBar()
                                                               : Frame21->verticalScrollBar();
    bar->setValue(bar->value() - d);
    event->accept();
}

void TForm1::ZoomAt(QPoint viewportPoint, int steps) {
    const int index = std::clamp(ComboBox1->currentIndex() + steps, 0, ComboBox1->count() - 1);
    if (index == ComboBox1->currentIndex()) return;
    QScrollBar* h = Frame21->horizontalScrollBar();
    QScrollBar* v = Frame21->verticalScrollBar();
    // The field point under the pointer, in cells, stays under the pointer at the new scale.
    const int before = Frame21->view().Scale;
    const double cx = (h->value() + viewportPoint.x() - 2) / double(before);
    const double cy = (v->value() + viewportPoint.y() - 2) / double(before);
    ComboBox1->setCurrentIndex(index);
    const int after = Frame21->view().Scale;
    h->setValue(qRound(cx * after + 2 - viewportPoint.x()));
    v->setValue(qRound(cy * after + 2 - viewportPoint.y()));
}

bool TForm1::PanPress(QMouseEvent* event) {
    if (event->button() != Qt::MiddleButton) return false;
    panning_ = true;
    panFrom_ = event->globalPosition().toPoint();
    panScroll_ = {Frame21->horizontalScrollBar()->value(), Frame21->verticalScrollBar()->value()};
    return true;
}

bool TForm1::PanMove(QMouseEvent* event) {
    if (!panning_) return false;
    const QPoint d = event->globalPosition().toPoint() - panFrom_;
    Frame21->horizontalScrollBar()->setValue(panScroll_.x() - d.x());
    Frame21->verticalScrollBar()->setValue(panScroll_.y() - d.y());
    return true;
}

bool TForm1::PanRelease(QMouseEvent* event) {
    if (event->button() != Qt::MiddleButton || !panning_) return false;
    panning_ = false;
    return true;
}

void TForm1::Frame21Image1MouseDown(QMouseEvent* event) {
    if (PanPress(event)) return;
    Pointer->SurfacePress(event->button(), event->position().toPoint());
}

void TForm1::Frame21Image1MouseMove(QMouseEvent* event) {
    if (PanMove(event)) return;
    const QPoint p = event->position().toPoint();
    Pointer->SurfaceMove(p);
    TrackHover(p.x(), p.y());
}

void TForm1::Frame21Image1Click() {
    Pointer->SurfaceClick();
}

void TForm1::Frame21Image1MouseUp(QMouseEvent* event) {
    if (PanRelease(event)) return;
    if (event->button() == Qt::RightButton) ShowPendingMenu(event->globalPosition().toPoint());
    Pointer->SurfaceRelease(event->button(), event->position().toPoint());
}

void TForm1::Image1MouseDown(ElementPicture* picture, QMouseEvent* event) {
    if (PanPress(event)) return;
    Pointer->PicturePress(picture, event->button(), event->modifiers(), event->position().toPoint());
}

void TForm1::Image1MouseMove(ElementPicture* picture, QMouseEvent* event) {
    if (PanMove(event)) return;
    Pointer->PictureMove(picture, event->position().toPoint());
}

void TForm1::Image1MouseUp(ElementPicture* picture, QMouseEvent* event) {
    if (PanRelease(event)) return;
    if (ReleaseEndsDoubleClick(picture)) return;
    if (event->button() == Qt::RightButton) ShowPendingMenu(event->globalPosition().toPoint());
    Pointer->PictureRelease(picture, event->button(), event->modifiers(), event->position().toPoint());
}

void TForm1::TrackHover(int x, int y) {
    ViewState& view = Frame21->view();
    const int h = view.Scale / 2;
    const int cx = (x + h) / view.Scale, cy = (y + h) / view.Scale;
    const bool inside = cx >= 0 && cx <= GridMax && cy >= 0 && cy <= GridMax;
    SetHoverNet(inside ? Frame21->grids().NetMap.at(cx, cy) : -1);
}

void TForm1::SetHoverNet(int n) {
    ViewState& view = Frame21->view();
    if (n == view.HoverNet) return;
    if (options_.HighlightConnection) Frame21->ToggleWires();
    view.HoverNet = n;
    if (options_.HighlightConnection) Frame21->ToggleWires();
}

void TForm1::DrawSelectionRectangle(QPoint corner) {
    Pointer->DrawSelectionRectangle(corner);
}

void TForm1::DrawLegMarker(ElementPicture* picture, int leg) {
    Pointer->DrawLegMarker(picture, leg);
}

void TForm1::N3Click() {
    model().SelectAll();
}

void TForm1::N4Click() {
    model().DeselectAll();
}

void TForm1::N5Click() {
    model().InvertSelection();
}

void TForm1::N7Click() {
    document_->DeleteSelected();
}

void TForm1::Button2Click() {
    document_->DestroySelected();
}

QString TForm1::StepName(StepKind kind) {
    switch (kind) {
    case StepKind::ListChip:
        return tr("добавление микросхемы");
    case StepKind::ListSpecial:
        return tr("добавление элемента");
    case StepKind::Place:
        return tr("размещение");
    case StepKind::Connect:
        return tr("соединение");
    case StepKind::Disconnect:
        return tr("отсоединение");
    case StepKind::RemoveNet:
        return tr("удаление соединения");
    case StepKind::Delete:
        return tr("удаление");
    case StepKind::Move:
        return tr("перемещение");
    case StepKind::Durations:
        return tr("настройка генератора");
    case StepKind::Paste:
        return tr("вставка");
    }
    return {};
}

void TForm1::UndoClick() {
    document_->Undo();
}

void TForm1::RedoClick() {
    document_->Redo();
}

void TForm1::UpdateUndoActions() {
    const std::optional<StepKind> undo = document_->undoKind();
    const std::optional<StepKind> redo = document_->redoKind();
    ActUndo->setEnabled(undo.has_value());
    ActUndo->setText(undo ? tr("Отменить: %1").arg(StepName(*undo)) : tr("Отменить"));
    ActRedo->setEnabled(redo.has_value());
    ActRedo->setText(redo ? tr("Повторить: %1").arg(StepName(*redo)) : tr("Повторить"));
    ToolButtonUndo->setEnabled(undo.has_value());
    ToolButtonUndo->setToolTip(ActUndo->text());
    ToolButtonRedo->setEnabled(redo.has_value());
    ToolButtonRedo->setToolTip(ActRedo->text());
}
