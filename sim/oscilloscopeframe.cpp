// SPDX-License-Identifier: MIT
#include "sim/oscilloscopeframe.h"

#include "sim/probetrace.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

TracePicture::TracePicture(QWidget* parent)
    : QWidget(parent), image_(TraceWidth, TraceHeight, QImage::Format_RGB32) {
    image_.fill(Qt::white);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus); // the arrow keys move the time cursors
}

void TracePicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

TFrame18::TFrame18(QWidget* parent) : QScrollArea(parent), contents_(new QWidget) {
    setObjectName(QStringLiteral("Frame181"));
    setFrameStyle(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (int c = 1; c <= 5; ++c) {
        ChannelPanel& ch = channels_[static_cast<size_t>(c - 1)];
        ch.Panel = new QFrame(contents_);
        ch.Panel->setObjectName(QStringLiteral("Panel%1").arg(c));
        ch.Panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        ch.Panel->setGeometry(0, 0, PanelWidth, PanelHeight);

        ch.Image = new TracePicture(ch.Panel);
        ch.Image->setObjectName(QStringLiteral("Image%1").arg(c));
        ch.Image->setGeometry(24, 1, TraceWidth, TraceHeight);

        ch.Number = new QLabel(QString::number(c), ch.Panel);
        ch.Number->setObjectName(QStringLiteral("Label%1").arg(c));
        QFont bold = ch.Number->font();
        bold.setBold(true);
        bold.setPixelSize(20);
        ch.Number->setFont(bold);
        ch.Number->setGeometry(5, 2, 16, 24);

        ch.Levels = new QLabel(ch.Panel);
        ch.Levels->setObjectName(QStringLiteral("Levels%1").arg(c));
        QFont levels = ch.Levels->font();
        levels.setPixelSize(10);
        ch.Levels->setFont(levels);
        ch.Levels->setGeometry(2, 27, 22, 28);

        ch.ScaleLabel = new QLabel(tr("Масштаб"), ch.Panel);
        QFont small = ch.ScaleLabel->font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        ch.ScaleLabel->setFont(small);
        ch.ScaleLabel->setGeometry(348, 2, PanelWidth - 348, 16);
        ch.ScaleEdit = new QLineEdit(QStringLiteral("10"), ch.Panel);
        ch.ScaleEdit->setObjectName(QStringLiteral("Edit%1").arg(c));
        ch.ScaleEdit->setGeometry(348, 19, 53, 21);
        ch.OnBox = new QCheckBox(tr("Вкл"), ch.Panel);
        ch.OnBox->setObjectName(QStringLiteral("CheckBox%1").arg(c));
        ch.OnBox->setChecked(true);
        ch.OnBox->setGeometry(348, 41, 53, 17);

        ch.ScrollBar = new QScrollBar(Qt::Horizontal, ch.Panel);
        ch.ScrollBar->setObjectName(QStringLiteral("ScrollBar%1").arg(c));
        ch.ScrollBar->setRange(0, 100);
        ch.ScrollBar->setValue(100);
        ch.ScrollBar->setGeometry(24, 42, TraceWidth, 16);

        ch.Panel->hide();
    }
    setWidget(contents_);
    FitContents();
}

void TFrame18::ShowPanel(int c, int top) {
    QFrame* panel = channel(c).Panel;
    panel->move(0, top);
    panel->show();
    FitContents();
}

void TFrame18::HidePanel(int c) {
    channel(c).Panel->hide();
    FitContents();
}

bool TFrame18::PanelShown(int c) const {
    return !channel(c).Panel->isHidden();
}

void TFrame18::FitContents() {
    int bottom = 0;
    for (const ChannelPanel& ch : channels_)
        if (!ch.Panel->isHidden()) bottom = std::max(bottom, ch.Panel->geometry().bottom() + 1);
    contents_->resize(PanelWidth, bottom);
}
