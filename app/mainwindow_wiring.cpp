// SPDX-License-Identifier: MIT
// The main window's wiring commands: the release of a wire drag, the pin and wire context menus.
#include "app/mainwindow.h"

#include "app/navigatorpanel.h"
#include "editor/elementpicture.h"
#include "editor/pointerstate.h"
#include "editor/wiregesture.h"
#include "editor/workspaceframe.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QTimer>

void TForm1::ConnectWiring() {
    Wire = new WireGesture(model(), *Frame21, *Pointer, this);
    connect(Pointer, &PointerState::wireDragMoved, Wire, &WireGesture::Move);
    connect(Pointer, &PointerState::wireDragReleased, this, &TForm1::WireDragRelease);
    connect(Pointer, &PointerState::wireDragCancelled, Wire, &WireGesture::Cancel);
    connect(Pointer, &PointerState::pictureRightPressed, this, &TForm1::PictureRightPress);
    connect(Pointer, &PointerState::surfaceRightPressed, this, &TForm1::SurfaceRightPress);

    PinMenu = new QMenu(this);
    PinMenu->setObjectName(QStringLiteral("PopupMenu2"));
    N26 = PinMenu->addAction(tr("Отсоединить"));
    connect(N26, &QAction::triggered, this, &TForm1::N26Click);
    WireMenu = new QMenu(this);
    WireMenu->setObjectName(QStringLiteral("PopupMenu1"));
    N25 = WireMenu->addAction(tr("Удалить все соединение"));
    connect(N25, &QAction::triggered, this, &TForm1::N25Click);
    ElementMenu = new QMenu(this);
    ElementMenu->setObjectName(QStringLiteral("ElementMenu"));
    ElementCopy = ElementMenu->addAction(tr("Копировать"));
    ElementCut = ElementMenu->addAction(tr("Вырезать"));
    ElementDelete = ElementMenu->addAction(tr("Удалить"));
    ElementMenu->addSeparator();
    ElementAction = ElementMenu->addAction(QString());
    connect(ElementCopy, &QAction::triggered, this, &TForm1::CopyClick);
    connect(ElementCut, &QAction::triggered, this, &TForm1::CutClick);
    connect(ElementDelete, &QAction::triggered, this, &TForm1::N7Click);
    connect(ElementAction, &QAction::triggered, this, [this] {
        if (ElementPicture* picture = Frame21->picture(menuElement_)) {
            Image1DblClick(picture);
            // No double click's release is to come.
            doubleClicked_ = nullptr;
        }
    });
    SpaceMenu = new QMenu(this);
    SpaceMenu->setObjectName(QStringLiteral("SpaceMenu"));
    SpacePaste = SpaceMenu->addAction(tr("Вставить"));
    SpaceSelectAll = SpaceMenu->addAction(tr("Выделить все"));
    connect(SpacePaste, &QAction::triggered, this,
            [this] { PasteMime(QGuiApplication::clipboard()->mimeData(), menuCell_); });
    connect(SpaceSelectAll, &QAction::triggered, this, &TForm1::N3Click);
    for (QMenu* menu : {PinMenu, WireMenu, ElementMenu, SpaceMenu})
        connect(menu, &QMenu::aboutToHide, this, [this] {
            // The chosen command runs after the menu hides.
            QTimer::singleShot(0, this, [this] { contextMenuOpen_ = false; });
        });
    // The label shows the number of nets after every change of them (connecting, removing, a load,
    // "Новый"); "Label1" until the first.
    connect(&model(), &Schematic::netsChanged, NavPanel->Label1,
            [this] { NavPanel->Label1->setText(QString::number(model().Conns().size())); });
}

void TForm1::WireDragRelease(ElementPicture* source, QPoint p) {
    const TPinRef from = Pointer->SourcePin;
    const WireDrop drop = Wire->Release(source, p);
    // Joined to the wire's net and to the pin under the pointer, each routed: one step.
    document_->BeginStep(StepKind::Connect);
    if (drop.netPin) document_->ConnectPins(from, *drop.netPin);
    if (drop.target) {
        document_->ConnectPins(from, *drop.target);
    }
    document_->EndStep();
}

void TForm1::PictureRightPress(ElementPicture* picture, int leg) {
    pendingMenu_ = nullptr;
    const int k = picture->tag();
    if (k < 1 || k > model().ElementCount()) return;
    // A pin keeps its own menu (none while it is unconnected).
    if (leg >= 0) {
        if (!model().PinIsConnected({k, leg})) return;
        Pointer->SourcePin = {k, leg};
        pendingMenu_ = PinMenu;
        return;
    }
    // The menu's commands act on the selection: an element outside it becomes the selection.
    if (!model().element(k).Selected) {
        model().DeselectAll();
        model().SelectElement(k);
    }
    menuElement_ = k;
    QString action;
    switch (model().element(k).kind()) {
    case ElementKind::Switch:
        action = tr("Переключить");
        break;
    case ElementKind::Generator:
        action = tr("Настроить генератор...");
        break;
    case ElementKind::Probe:
        action = tr("Осциллографы");
        break;
    default:
        break;
    }
    ElementAction->setText(action);
    ElementAction->setVisible(!action.isEmpty());
    pendingMenu_ = ElementMenu;
}

void TForm1::SurfaceRightPress(QPoint p) {
    if (Frame21->view().HoverNet != -1) {
        pendingMenu_ = WireMenu;
        return;
    }
    const int scale = Frame21->view().Scale;
    menuCell_ = TPoint32{p.x() / scale, p.y() / scale};
    SpacePaste->setEnabled(ClipboardHasPart());
    pendingMenu_ = SpaceMenu;
}

void TForm1::ShowPendingMenu(QPoint global) {
    QMenu* menu = pendingMenu_;
    pendingMenu_ = nullptr;
    if (!menu) return;
    contextMenuOpen_ = true;
    menu->popup(global);
}

void TForm1::N26Click() {
    document_->DisconnectPin(Pointer->SourcePin);
}

void TForm1::N25Click() {
    document_->RemoveNet(Frame21->view().HoverNet);
    // The number named the net under the pointer; now it names the next net or none. Until the
    // pointer moves again no wire counts as under it, so a second command cannot remove a net
    // the user did not point at.
    SetHoverNet(-1);
}
