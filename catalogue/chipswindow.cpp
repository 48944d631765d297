// SPDX-License-Identifier: MIT
#include "catalogue/chipswindow.h"

#include "catalogue/catalogueui.h"
#include "catalogue/cursorgrid.h"
#include "catalogue/elementchooser.h"
#include "catalogue/markingdialog.h"

#include <QDataWidgetMapper>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

void SortChips(CatalogueUi& ui, CursorGrid* grid, int column) {
    if (column == 0) {
        CatalogueUi::ShowError(grid, ui.catalogue().chips().orderBy(QStringLiteral("Mark")));
        grid->setTitle(0, QStringLiteral("Маркировка*"));
        grid->setTitle(1, QStringLiteral("Тип"));
    } else if (column == 1) {
        CatalogueUi::ShowError(grid, ui.catalogue().chips().orderBy(QStringLiteral("Type")));
        grid->setTitle(0, QStringLiteral("Маркировка"));
        grid->setTitle(1, QStringLiteral("Тип*"));
    }
}

QImage TForm10::NandPicture() {
    QImage img(81, 81, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(QPen(Qt::black, 2));
    p.drawRect(22, 12, 36, 56);
    p.drawLine(2, 28, 22, 28);
    p.drawLine(2, 52, 22, 52);
    p.drawEllipse(QPoint(63, 40), 4, 4);
    p.drawLine(67, 40, 79, 40);
    QFont f = p.font();
    f.setPixelSize(16);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(22, 12, 36, 24), Qt::AlignCenter, QStringLiteral("&"));
    return img;
}

TForm10::TForm10(CatalogueUi& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("База данных с микросхемами"));
    ui_.Form10 = this;
    CatalogueTable& table = ui_.catalogue().chips();
    const QString error = ui_.catalogue().openChips();

    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);
    auto* row = new QHBoxLayout;
    DBGrid1 = new CursorGrid(table,
                             {{QStringLiteral("Mark"), QStringLiteral("Маркировка*"), 20},
                              {QStringLiteral("Type"), QStringLiteral("Тип"), 40}},
                             true);
    DBGrid1->setFixedSize(330, 380);
    DBGrid1->setColumnWidth(table.fieldIndex(QStringLiteral("Mark")), 110);
    row->addWidget(DBGrid1);

    PageControl1 = new QTabWidget;
    auto* page1 = new QWidget;
    auto* grid1 = new QGridLayout(page1);
    auto* elems = new QGroupBox(QStringLiteral("Элементы в микросхеме"));
    auto* elemsLayout = new QGridLayout(elems);
    elemsLayout->addWidget(new QLabel(QStringLiteral("Название элемента")), 0, 0, 1, 2);
    DBEdit1 = new QLineEdit;
    elemsLayout->addWidget(DBEdit1, 1, 0, 1, 2);
    Button4 = new QPushButton(QStringLiteral("Выбрать из базы элементов..."));
    elemsLayout->addWidget(Button4, 2, 0, 1, 2);
    elemsLayout->addWidget(new QLabel(QStringLiteral("Количество элементов:")), 3, 0);
    DBEdit2 = new QLineEdit;
    DBEdit2->setFixedWidth(60);
    elemsLayout->addWidget(DBEdit2, 3, 1);
    grid1->addWidget(elems, 0, 0);

    auto* legs = new QGroupBox(QStringLiteral("Количество ножек"));
    auto* legsLayout = new QVBoxLayout(legs);
    DBEdit3 = new QLineEdit;
    legsLayout->addWidget(DBEdit3);
    grid1->addWidget(legs, 1, 0);

    auto* delay = new QGroupBox(QStringLiteral("Задержка (нс)"));
    auto* delayLayout = new QGridLayout(delay);
    delayLayout->addWidget(new QLabel(QStringLiteral("Низк -> Выс")), 0, 0);
    delayLayout->addWidget(new QLabel(QStringLiteral("Выс -> Низк")), 0, 1);
    DBEdit4 = new QLineEdit;
    DBEdit5 = new QLineEdit;
    delayLayout->addWidget(DBEdit4, 1, 0);
    delayLayout->addWidget(DBEdit5, 1, 1);
    grid1->addWidget(delay, 2, 0);

    auto* look = new QGroupBox(QStringLiteral("Изображение микросхемы"));
    auto* lookLayout = new QVBoxLayout(look);
    auto* panel = new QLabel;
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, Qt::white);
    panel->setPalette(pal);
    panel->setFixedSize(120, 100);
    Image1 = new QLabel(panel);
    Image1->setPixmap(QPixmap::fromImage(NandPicture()));
    Image1->setGeometry((120 - 81) / 2, (100 - 81) / 2, 81, 81);
    lookLayout->addWidget(panel, 0, Qt::AlignCenter);
    grid1->addWidget(look, 0, 1, 2, 1);

    auto* pic = new QGroupBox(QStringLiteral("Картинка"));
    auto* picLayout = new QVBoxLayout(pic);
    picLayout->addWidget(new QLabel(QStringLiteral("Идентификатор")));
    DBEdit6 = new QLineEdit;
    picLayout->addWidget(DBEdit6);
    Button5 = new QPushButton(QStringLiteral("Выбрать из базы изображений..."));
    Button5->setEnabled(false);
    picLayout->addWidget(Button5);
    grid1->addWidget(pic, 2, 1);
    grid1->setRowStretch(3, 1);
    PageControl1->addTab(page1, QStringLiteral("Основные параметры"));
    PageControl1->addTab(new QWidget, QStringLiteral("Электрические параметры"));
    PageControl1->addTab(new QWidget, QStringLiteral("Описание работы"));
    row->addWidget(PageControl1);
    top->addLayout(row);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    Button1 = new QPushButton(QStringLiteral("Добавить..."));
    Button2 = new QPushButton(QStringLiteral("Удалить"));
    Button3 = new QPushButton(QStringLiteral("OK"));
    for (QPushButton* b : {Button1, Button2, Button3})
        buttons->addWidget(b);
    for (QPushButton* b : {Button1, Button2, Button4, Button5})
        b->setAutoDefault(false);
    Button3->setDefault(true);
    top->addLayout(buttons);

    Mapper = CatalogueUi::BindMapper(table, this);
    if (table.isOpen()) {
        const std::pair<QLineEdit*, const char*> bound[] = {
            {DBEdit1, "Elem_name"},     {DBEdit2, "Elem_Count"},    {DBEdit3, "Legs_Count"},
            {DBEdit4, "React_Time_LH"}, {DBEdit5, "React_Time_HL"}, {DBEdit6, "Image_name"}};
        for (const auto& [edit, field] : bound)
            Mapper->addMapping(edit, table.fieldIndex(QString::fromLatin1(field)), "text");
        Mapper->setCurrentIndex(table.row());
    }

    connect(DBGrid1, &CursorGrid::titleClicked, this,
            [this](int column) { SortChips(ui_, DBGrid1, column); });
    connect(Button1, &QPushButton::clicked, this, &TForm10::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm10::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm10::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm10::Button4Click);
    CatalogueUi::ShowError(parentWidget(), error);
}

void TForm10::Button1Click() {
    if (ui_.Form11) ui_.Form11->exec();
}

void TForm10::Button2Click() {
    CatalogueUi::DeleteCurrent(this, ui_.catalogue().chips(), QStringLiteral("Внимание"),
                               QStringLiteral("Вы действительно хотите удалить текущий элемент"));
}

void TForm10::Button3Click() {
    accept();
    Mapper->submit();
    CatalogueUi::ShowError(this, ui_.catalogue().chips().post());
}

void TForm10::Button4Click() {
    if (ui_.Form12) ui_.Form12->exec();
}
