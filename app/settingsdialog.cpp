// SPDX-License-Identifier: MIT
#include "app/settingsdialog.h"

#include "app/colorbox.h"
#include "app/mainwindow.h"
#include "ui/buttonrow.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

TForm4::TForm4(TForm1* form1) : QDialog(form1), form1_(form1) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Настройки"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    setFixedSize(492, 320);
    setModal(true);

    auto* designer = new QGroupBox(QStringLiteral("Дизайнер схемы"));
    auto* checks = new QVBoxLayout(designer);
    auto check = [checks](const char* text, const char* tip) {
        auto* c = new QCheckBox(QString::fromUtf8(text));
        c->setToolTip(QString::fromUtf8(tip));
        checks->addWidget(c);
        return c;
    };
    CheckBox1 = check("Выделять только полностью обведенный элемент",
                      "Если данное свойство установлено, то будут выделяться только те элементы, которые "
                      "полностью обведены рамкой");
    CheckBox2 = check("Прорисовывать соединения при перемещении",
                      "Соединения элементов будут прорисовываться при перемещении элементов схемы");
    CheckBox3 = check("Выделять элемент при добавлении в схему", "Добавленный элемент будет выделенным");
    CheckBox4 = check("Выделять соединения цветом.", "Соединение под мышкой будет выделяться синим цветом");

    auto* colours = new QGroupBox(QStringLiteral("Цвета"));
    auto* grid = new QGridLayout(colours);
    ColorBox1 = new ColorBox;
    ColorBox2 = new ColorBox;
    grid->addWidget(new QLabel(QStringLiteral("Рабочий стол")), 0, 0);
    grid->addWidget(ColorBox1, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Разметка")), 1, 0);
    grid->addWidget(ColorBox2, 1, 1);
    grid->setColumnStretch(2, 1);

    const OkCancelRow row = MakeOkCancelRow(this, QStringLiteral("ОК"), true);
    ButtonOk = row.ok;
    ButtonCancel = row.cancel;
    ButtonApply = new QPushButton(QStringLiteral("Применить"));
    row.layout->addWidget(ButtonApply);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(designer);
    layout->addWidget(colours);
    layout->addStretch(1);
    layout->addLayout(row.layout);

    TOptions& o = form1_->options();
    connect(CheckBox1, &QCheckBox::toggled, this, [&o](bool on) { o.FullSelection = on; });
    connect(CheckBox2, &QCheckBox::toggled, this, [&o](bool on) { o.DrawConnections = on; });
    connect(CheckBox3, &QCheckBox::toggled, this, [&o](bool on) { o.SelectOnCreate = on; });
    connect(CheckBox4, &QCheckBox::toggled, this, [&o](bool on) { o.HighlightConnection = on; });
    connect(ColorBox1, &ColorBox::colourChosen, this, [this, &o](int32_t c) {
        o.DesktopColor = c;
        ColourChanged();
    });
    connect(ColorBox2, &ColorBox::colourChosen, this, [this, &o](int32_t c) {
        o.GridColor = c;
        ColourChanged();
    });
    connect(ButtonOk, &QPushButton::clicked, this, [this] {
        if (form1_->SaveCfg()) accept();
    });
    connect(ButtonApply, &QPushButton::clicked, this, [this] { form1_->SaveCfg(); });
}

void TForm4::LoadControls() {
    const TOptions& o = form1_->options();
    const std::pair<QCheckBox*, bool> states[] = {{CheckBox1, o.FullSelection},
                                                  {CheckBox2, o.DrawConnections},
                                                  {CheckBox3, o.SelectOnCreate},
                                                  {CheckBox4, o.HighlightConnection}};
    for (const auto& [box, on] : states) {
        const QSignalBlocker block(box);
        box->setChecked(on);
    }
    ColorBox1->setSelected(o.DesktopColor);
    ColorBox2->setSelected(o.GridColor);
}

bool TForm4::event(QEvent* event) {
    if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate) LoadControls();
    return QDialog::event(event);
}

void TForm4::ColourChanged() {
    form1_->DesktopSetup();
    form1_->Button4Click();
}
