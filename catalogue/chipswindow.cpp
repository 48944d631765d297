// SPDX-License-Identifier: MIT
#include "catalogue/chipswindow.h"

#include "catalogue/cataloguetable.h"
#include "catalogue/catalogueui.h"
#include "catalogue/cursorgrid.h"
#include "catalogue/elementchooser.h"
#include "catalogue/fields.h"
#include "catalogue/markingdialog.h"
#include "ui/whitepanel.h"
#include "ui/windowregistry.h"

#include <QCoreApplication>
#include <QDataWidgetMapper>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <utility>

void SortChips(CatalogueUi& ui, CursorGrid* grid, int column) {
    if (column == 0) {
        CatalogueUi::ShowError(grid, ui.catalogue().chips().orderBy(ChipField::Mark));
        grid->setTitle(0, QCoreApplication::translate("TForm10", "Маркировка*"));
        grid->setTitle(1, QCoreApplication::translate("TForm10", "Тип"));
    } else if (column == 1) {
        CatalogueUi::ShowError(grid, ui.catalogue().chips().orderBy(ChipField::Type));
        grid->setTitle(0, QCoreApplication::translate("TForm10", "Маркировка"));
        grid->setTitle(1, QCoreApplication::translate("TForm10", "Тип*"));
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

TForm10::TForm10(CatalogueUi& ui, QWidget* parent)
    : CatalogueEditor(ui, ui.catalogue().chips(),
                      {tr("Внимание"), tr("Вы действительно хотите удалить текущий элемент")}, parent) {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(tr("База данных с микросхемами"));
    ui_.add(this);
    const QString error = ui_.catalogue().openChips();

    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);
    auto* row = new QHBoxLayout;
    DBGrid1 = new CursorGrid(
        table_, {{ChipField::Mark, tr("Маркировка*"), 20}, {ChipField::Type, tr("Тип"), 40}}, true);
    DBGrid1->setFixedSize(330, 380);
    DBGrid1->setColumnWidth(table_.fieldIndex(ChipField::Mark), 110);
    row->addWidget(DBGrid1);

    PageControl1 = new QTabWidget;
    auto* page1 = new QWidget;
    auto* grid1 = new QGridLayout(page1);
    auto* elems = new QGroupBox(tr("Элементы в микросхеме"));
    auto* elemsLayout = new QGridLayout(elems);
    elemsLayout->addWidget(new QLabel(tr("Название элемента")), 0, 0, 1, 2);
    DBEdit1 = new QLineEdit;
    elemsLayout->addWidget(DBEdit1, 1, 0, 1, 2);
    Button4 = new QPushButton(tr("Выбрать из базы элементов..."));
    elemsLayout->addWidget(Button4, 2, 0, 1, 2);
    elemsLayout->addWidget(new QLabel(tr("Количество элементов:")), 3, 0);
    DBEdit2 = new QLineEdit;
    DBEdit2->setFixedWidth(60);
    elemsLayout->addWidget(DBEdit2, 3, 1);
    grid1->addWidget(elems, 0, 0);

    auto* legs = new QGroupBox(tr("Количество ножек"));
    auto* legsLayout = new QVBoxLayout(legs);
    DBEdit3 = new QLineEdit;
    legsLayout->addWidget(DBEdit3);
    grid1->addWidget(legs, 1, 0);

    auto* delay = new QGroupBox(tr("Задержка (нс)"));
    auto* delayLayout = new QGridLayout(delay);
    delayLayout->addWidget(new QLabel(tr("Низк -> Выс")), 0, 0);
    delayLayout->addWidget(new QLabel(tr("Выс -> Низк")), 0, 1);
    DBEdit4 = new QLineEdit;
    DBEdit5 = new QLineEdit;
    delayLayout->addWidget(DBEdit4, 1, 0);
    delayLayout->addWidget(DBEdit5, 1, 1);
    grid1->addWidget(delay, 2, 0);

    auto* look = new QGroupBox(tr("Изображение микросхемы"));
    auto* lookLayout = new QVBoxLayout(look);
    auto* panel = new QLabel;
    MakeWhitePanel(panel);
    panel->setFixedSize(120, 100);
    Image1 = new QLabel(panel);
    Image1->setPixmap(QPixmap::fromImage(NandPicture()));
    Image1->setGeometry((120 - 81) / 2, (100 - 81) / 2, 81, 81);
    lookLayout->addWidget(panel, 0, Qt::AlignCenter);
    grid1->addWidget(look, 0, 1, 2, 1);

    auto* pic = new QGroupBox(tr("Картинка"));
    auto* picLayout = new QVBoxLayout(pic);
    picLayout->addWidget(new QLabel(tr("Идентификатор")));
    DBEdit6 = new QLineEdit;
    picLayout->addWidget(DBEdit6);
    Button5 = new QPushButton(tr("Выбрать из базы изображений..."));
    Button5->setEnabled(false);
    picLayout->addWidget(Button5);
    grid1->addWidget(pic, 2, 1);
    grid1->setRowStretch(3, 1);
    PageControl1->addTab(page1, tr("Основные параметры"));
    PageControl1->addTab(new QWidget, tr("Электрические параметры"));
    PageControl1->addTab(new QWidget, tr("Описание работы"));
    row->addWidget(PageControl1);
    top->addLayout(row);

    AddRecordButtons(top, &Button1, &Button2, &Button3);
    for (QPushButton* b : {Button4, Button5})
        b->setAutoDefault(false);
    Button3->setDefault(true);

    Mapper = CatalogueUi::BindMapper(table_, this,
                                     {{DBEdit1, ChipField::ElemName, "text"},
                                      {DBEdit2, ChipField::ElemCount, "text"},
                                      {DBEdit3, ChipField::LegsCount, "text"},
                                      {DBEdit4, ChipField::ReactTimeLH, "text"},
                                      {DBEdit5, ChipField::ReactTimeHL, "text"},
                                      {DBEdit6, ChipField::ImageName, "text"}});

    connect(DBGrid1, &CursorGrid::titleClicked, this,
            [this](int column) { SortChips(ui_, DBGrid1, column); });
    connect(Button3, &QPushButton::clicked, this, &TForm10::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm10::Button4Click);
    CatalogueUi::ShowError(parentWidget(), error);
}

QDialog* TForm10::addDialog() const {
    return ui_.windows().get<TForm11>();
}

void TForm10::Button3Click() {
    CloseAndStore();
}

void TForm10::Button4Click() {
    if (TForm12* chooser = ui_.windows().get<TForm12>()) chooser->exec();
}
