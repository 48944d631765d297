// SPDX-License-Identifier: MIT
#include "sim/oscilloscopewindow.h"

#include "sim/oscilloscopeframe.h"
#include "sim/probetrace.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>

#include <algorithm>

namespace {

// The window's inside as laid out; the three boxes keep their distances to every edge.
constexpr QSize DesignSize(606, 347);
constexpr QRect ListRect(6, 8, 149, 331);
constexpr QRect GroupRect(163, 4, 437, 336);
constexpr QRect FrameRect(8, 17, 420, 311);

QRect Stretched(QRect r, QSize by) {
    return r.adjusted(0, 0, by.width(), by.height());
}

} // namespace

TForm17::TForm17(const Schematic& model, const Simulator& simulator, QWidget* parent)
    : QDialog(parent), model_(model), sim_(simulator) {
    setObjectName(QStringLiteral("Form17"));
    setWindowTitle(QStringLiteral("Осциллографы"));
    // Kept above its parent, the main window, as a window of the program; not above every window,
    // which would hide the modal dialogs (the save dialog's file list) under it.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);

    CheckListBox1 = new QListWidget(this);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    GroupBox1 = new QGroupBox(QStringLiteral("Показания осциллографов"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Frame181 = new TFrame18(GroupBox1);
    Button2 = new QPushButton(QStringLiteral("Button2"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->hide();

    resize(614, 374);
    LayOutBoxes();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(614 / 2, 374 / 2));

    connect(CheckListBox1, &QListWidget::itemChanged, this, [this] {
        if (!laying_) CheckListBox1ClickCheck();
    });
    connect(Button2, &QPushButton::clicked, this, &TForm17::Button2Click);
    connect(&model_, &Schematic::channelsChanged, this, &TForm17::FollowChannels);
    connect(&model_, &Schematic::elementsRemoved, this, &TForm17::FollowChannels);
}

void TForm17::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayOutBoxes();
}

void TForm17::LayOutBoxes() {
    const QSize by = size() - DesignSize;
    CheckListBox1->setGeometry(Stretched(ListRect, by));
    GroupBox1->setGeometry(Stretched(GroupRect, by));
    Frame181->setGeometry(Stretched(FrameRect, by));
}

int TForm17::OuterHeight() const {
    return frameGeometry().height();
}

QSize TForm17::FrameExtra() const {
    return frameGeometry().size() - size();
}

void TForm17::SetOuterHeight(int height) {
    frameUsed_ = FrameExtra();
    resize(width(), std::max(1, height - frameUsed_.height()));
}

void TForm17::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The frame's size is known once the window is on screen: an outer size set before keeps.
    const QSize extra = FrameExtra();
    if (extra != frameUsed_) {
        resize((size() + frameUsed_ - extra).expandedTo(QSize(1, 1)));
        frameUsed_ = extra;
    }
}

void TForm17::RefreshProbeList() {
    for (int c = 1; c <= 5; ++c)
        Frame181->HidePanel(c);
    laying_ = true;
    CheckListBox1->clear();
    for (int i = 1; i <= model_.OscCount(); ++i) {
        auto* item = new QListWidgetItem(QStringLiteral("Осциллограф%1").arg(i), CheckListBox1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    laying_ = false;
    CheckListBox1ClickCheck();
}

void TForm17::CheckListBox1ClickCheck() {
    laying_ = true;
    for (int i = 0; i < CheckListBox1->count(); ++i) {
        QListWidgetItem* item = CheckListBox1->item(i);
        const bool probe = i < 5 && model_.OscChannel(i + 1) != 0;
        if (item->checkState() == Qt::Checked && !probe) item->setCheckState(Qt::Unchecked);
    }
    laying_ = false;
    int top = 0;
    for (int c = 1; c <= std::min(model_.OscCount(), 5); ++c) {
        const QListWidgetItem* item = CheckListBox1->item(c - 1);
        if (item && item->checkState() == Qt::Checked) {
            Frame181->ShowPanel(c, top);
            top += TFrame18::PanelHeight;
        } else {
            Frame181->HidePanel(c);
        }
    }
    if (top != 0) SetOuterHeight(top + 65);
}

void TForm17::Button2Click() {
    for (int c = 1; c <= 5; ++c) {
        if (!Frame181->PanelShown(c)) continue;
        TracePicture* picture = Frame181->channel(c).Image;
        const int p = model_.OscChannel(c);
        if (p >= 1 && p <= model_.ElementCount()) {
            const TElement& probe = model_.element(p);
            DrawTrace(picture->image(), probe.Transitions, probe.LevelBefore, sim_.SimTime);
        } else {
            picture->image().fill(Qt::white);
        }
        picture->update();
    }
}

void TForm17::FollowChannels() {
    if (isVisible()) {
        if (CheckListBox1->count() != model_.OscCount()) {
            // A probe was listed (or the schematic cleared): the list is made anew.
            RefreshProbeList();
        } else {
            // A placed probe shows its channel at once; a deleted one goes from the layout.
            laying_ = true;
            for (int c = 1; c <= std::min(5, CheckListBox1->count()); ++c)
                if (seen_[static_cast<size_t>(c)] == 0 && model_.OscChannel(c) != 0)
                    CheckListBox1->item(c - 1)->setCheckState(Qt::Checked);
            laying_ = false;
            CheckListBox1ClickCheck();
        }
    }
    for (int c = 1; c <= 5; ++c)
        seen_[static_cast<size_t>(c)] = model_.OscChannel(c);
}
