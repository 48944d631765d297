// SPDX-License-Identifier: MIT
#include "sim/timescaledialog.h"

#include "ui/digitedit.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

TForm15::TForm15(QWidget* mainWindow, QWidget* workspace)
    : QDialog(mainWindow), mainWindow_(mainWindow), workspace_(workspace) {
    setObjectName(QStringLiteral("Form15"));
    setWindowTitle(tr("Масштаб времени"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    TrackBar1 = new QSlider(Qt::Horizontal);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setRange(0, 1000);
    TrackBar1->setTickInterval(50);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setSingleStep(1);
    TrackBar1->setPageStep(50);
    TrackBar1->setValue(100);
    TrackBar1->setMinimumWidth(260);

    Label1 = new QLabel(tr("Быстро (0)"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(tr("Медленно (1000)"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Edit1 = new QLineEdit(QStringLiteral("100"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(4);
    Edit1->setFixedWidth(48);
    MakeDigitsOnly(Edit1);
    Edit1->installEventFilter(this);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(0);
    grid->addWidget(TrackBar1, 0, 0, 1, 2);
    grid->addWidget(Edit1, 0, 2, Qt::AlignVCenter);
    grid->addWidget(Label1, 1, 0, Qt::AlignLeft);
    grid->addWidget(Label2, 1, 1, Qt::AlignRight);
    setFixedSize(sizeHint());

    connect(TrackBar1, &QSlider::valueChanged, this, &TForm15::TrackBar1Change);
}

int TForm15::Position() const {
    return TrackBar1->value();
}

void TForm15::TrackBar1Change() {
    Edit1->setText(QString::number(TrackBar1->value()));
}

bool TForm15::Edit1KeyPress(int key) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    bool ok = false;
    int value = Edit1->text().toInt(&ok, 10);
    if (!ok) {
        Edit1->setText(QString::number(TrackBar1->value()));
        return true;
    }
    if (value > 1000) {
        Edit1->setText(QStringLiteral("1000"));
        value = 1000;
    }
    TrackBar1->setValue(value);
    return true;
}

QPoint TForm15::ActivePlace() const {
    const QRect outer = mainWindow_->frameGeometry();
    const QPoint frame = workspace_->mapTo(mainWindow_, QPoint(0, 0));
    return {outer.left() + frame.x() + 10, outer.top() + frame.y() + 45};
}

void TForm15::FormActivate() {
    if (mainWindow_ && workspace_) move(ActivePlace());
}

bool TForm15::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return QDialog::event(event);
}

bool TForm15::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1 && event->type() == QEvent::KeyPress)
        if (Edit1KeyPress(static_cast<QKeyEvent*>(event)->key())) return true;
    return QDialog::eventFilter(watched, event);
}

void TForm15::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    Q_EMIT closed();
}

void TForm15::reject() {
    QDialog::reject();
    Q_EMIT closed();
}
