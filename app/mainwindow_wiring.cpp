// SPDX-License-Identifier: MIT
// The main window's wiring commands: the release of a wire drag, the pin and wire context menus.
#include "app/mainwindow.h"

#include "app/navigatorpanel.h"
#include "editor/elementpicture.h"
#include "editor/pointerstate.h"
#include "editor/wiregesture.h"
#include "editor/workspaceframe.h"

#include <QLabel>
#include <QMenu>
#include <QTimer>

void TForm1::ConnectWiring() {
    Wire = new WireGesture(model(), *Frame21, *Pointer, this);
    connect(Pointer, &PointerState::wireDragMoved, Wire, &WireGesture::Move);
    connect(Pointer, &PointerState::wireDragReleased, this, &TForm1::WireDragRelease);
    connect(Pointer, &PointerState::pictureRightPressed, this, &TForm1::PictureRightPress);
    connect(Pointer, &PointerState::surfaceRightPressed, this, &TForm1::SurfaceRightPress);

    PinMenu = new QMenu(this);
    PinMenu->setObjectName(QStringLiteral("PopupMenu2"));
    N26 = PinMenu->addAction(QStringLiteral("Отсоединить"));
    connect(N26, &QAction::triggered, this, &TForm1::N26Click);
    WireMenu = new QMenu(this);
    WireMenu->setObjectName(QStringLiteral("PopupMenu1"));
    N25 = WireMenu->addAction(QStringLiteral("Удалить все соединение"));
    connect(N25, &QAction::triggered, this, &TForm1::N25Click);
    for (QMenu* menu : {PinMenu, WireMenu})
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
    if (leg < 0 || !model().PinIsConnected({k, leg})) return;
    Pointer->SourcePin = {k, leg};
    pendingMenu_ = PinMenu;
}

void TForm1::SurfaceRightPress(QPoint) {
    pendingMenu_ = Frame21->view().HoverNet != -1 ? WireMenu : nullptr;
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
