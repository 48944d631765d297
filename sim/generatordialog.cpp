// SPDX-License-Identifier: MIT
#include "sim/generatordialog.h"

#include "ui/buttonrow.h"
#include "ui/digitedit.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <limits>

TForm16::TForm16(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form16"));
    setWindowTitle(tr("Настройка генератора"));
    setModal(true);

    Edit1 = new QLineEdit(QStringLiteral("100"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = new QLineEdit(QStringLiteral("100"));
    Edit2->setObjectName(QStringLiteral("Edit2"));
    auto* label1 = new QLabel(tr("Длительность периода высокого уровня:"));
    auto* label2 = new QLabel(tr("Длительность периода низкого уровня:"));
    label1->setBuddy(Edit1);
    label2->setBuddy(Edit2);
    for (QLineEdit* edit : {Edit1, Edit2}) {
        edit->setFixedWidth(80);
        edit->setMaxLength(10); // the digits of the largest int32
        MakeDigitsOnly(edit);
    }

    const OkCancelRow buttons = MakeOkCancelRow(this, tr("ОК"), true);
    Button1 = buttons.ok;
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = buttons.cancel;
    Button2->setObjectName(QStringLiteral("Button2"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(label1, 0, 0);
    grid->addWidget(Edit1, 0, 1);
    grid->addWidget(label2, 1, 0);
    grid->addWidget(Edit2, 1, 1);
    grid->addLayout(buttons.layout, 2, 0, 1, 2);
    setFixedSize(sizeHint());

    connect(Button1, &QPushButton::clicked, this, &TForm16::Button1Click);
}

std::optional<int32_t> TForm16::ParseDuration(const QString& text) {
    if (text.isEmpty() || text.size() > 10) return std::nullopt;
    int64_t value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return static_cast<int32_t>(value);
}

void TForm16::Button1Click() {
    // An empty field is no number and ends the update silently, as before; a number too large
    // for a duration is refused here so that it is not mistaken for one.
    for (QLineEdit* edit : {Edit1, Edit2}) {
        if (edit->text().isEmpty() || ParseDuration(edit->text())) continue;
        QMessageBox::warning(this, tr("Внимание"),
                             tr("Длительность периода должна быть целым числом от 0 до %1")
                                 .arg(std::numeric_limits<int32_t>::max()),
                             QMessageBox::Ok);
        edit->setFocus();
        edit->selectAll();
        return;
    }
    accept();
}

void TForm16::SetDurations(int32_t high, int32_t low) {
    Edit1->setText(QString::number(high));
    Edit2->setText(QString::number(low));
}

void TForm16::StoreDurations(int32_t& high, int32_t& low) const {
    const std::optional<int32_t> h = ParseDuration(Edit1->text());
    if (!h) return;
    high = *h;
    const std::optional<int32_t> l = ParseDuration(Edit2->text());
    if (!l) return;
    low = *l;
}
