// SPDX-License-Identifier: MIT
#include "app/settingsdialog.h"

#include "app/colorbox.h"
#include "app/mainwindow.h"
#include "ui/buttonrow.h"
#include "ui/translation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

TForm4::TForm4(TForm1* form1) : QDialog(form1), form1_(form1) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(tr("Настройки"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    setFixedSize(492, 320);
    setModal(true);

    auto* designer = new QGroupBox(tr("Дизайнер схемы"));
    auto* checks = new QVBoxLayout(designer);
    auto check = [checks](const QString& text, const QString& tip) {
        auto* c = new QCheckBox(text);
        c->setToolTip(tip);
        checks->addWidget(c);
        return c;
    };
    CheckBox1 = check(tr("Выделять только полностью обведенный элемент"),
                      tr("Если данное свойство установлено, то будут выделяться только те элементы, которые "
                         "полностью обведены рамкой"));
    CheckBox2 = check(tr("Прорисовывать соединения при перемещении"),
                      tr("Соединения элементов будут прорисовываться при перемещении элементов схемы"));
    CheckBox3 =
        check(tr("Выделять элемент при добавлении в схему"), tr("Добавленный элемент будет выделенным"));
    CheckBox4 =
        check(tr("Выделять соединения цветом."), tr("Соединение под мышкой будет выделяться синим цветом"));

    auto* colours = new QGroupBox(tr("Цвета"));
    auto* grid = new QGridLayout(colours);
    ColorBox1 = new ColorBox;
    ColorBox2 = new ColorBox;
    grid->addWidget(new QLabel(tr("Рабочий стол")), 0, 0);
    grid->addWidget(ColorBox1, 0, 1);
    grid->addWidget(new QLabel(tr("Разметка")), 1, 0);
    grid->addWidget(ColorBox2, 1, 1);
    grid->setColumnStretch(2, 1);

    auto* language = new QHBoxLayout;
    language->addWidget(new QLabel(tr("Язык интерфейса")));
    ComboLanguage = new QComboBox;
    ComboLanguage->setObjectName(QStringLiteral("ComboLanguage"));
    ComboLanguage->addItem(QStringLiteral("Русский"), LanguageCode(Language::Russian));
    ComboLanguage->addItem(QStringLiteral("English"), LanguageCode(Language::English));
    language->addWidget(ComboLanguage);
    auto* restart = new QLabel(tr("(после перезапуска программы)"));
    language->addWidget(restart);
    language->addStretch(1);

    const OkCancelRow row = MakeOkCancelRow(this, tr("ОК"), true);
    ButtonOk = row.ok;
    ButtonCancel = row.cancel;
    ButtonApply = new QPushButton(tr("Применить"));
    row.layout->addWidget(ButtonApply);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(designer);
    layout->addWidget(colours);
    layout->addLayout(language);
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
    connect(ComboLanguage, &QComboBox::activated, this,
            [this] { form1_->SetLanguageChoice(ComboLanguage->currentData().toString()); });
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
    // The choice in the settings, else the language the program speaks now.
    const std::optional<Language> chosen = ParseLanguage(form1_->languageChoice());
    ComboLanguage->setCurrentIndex(
        ComboLanguage->findData(LanguageCode(chosen.value_or(InstalledLanguage()))));
}

bool TForm4::event(QEvent* event) {
    if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate) LoadControls();
    return QDialog::event(event);
}

void TForm4::ColourChanged() {
    form1_->DesktopSetup();
    form1_->Button4Click();
}
