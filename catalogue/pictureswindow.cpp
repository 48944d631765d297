// SPDX-License-Identifier: MIT
#include "catalogue/pictureswindow.h"

#include "catalogue/cataloguetable.h"
#include "catalogue/catalogueui.h"
#include "catalogue/cursorgrid.h"
#include "catalogue/dbimage.h"
#include "catalogue/fields.h"
#include "catalogue/picturenamedialog.h"
#include "ui/whitepanel.h"
#include "ui/windowregistry.h"

#include <QDataWidgetMapper>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

TForm5::TForm5(CatalogueUi& ui, QWidget* parent)
    : CatalogueEditor(ui, ui.catalogue().pictures(),
                      {tr("Внимание!"), tr("Вы действительно хотите удалить текущую картинку")}, parent) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(tr("База данных с изображениями элементов"));
    ui_.add(this);
    const QString error = ui_.catalogue().openPictures();

    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);
    auto* row = new QHBoxLayout;
    auto* names = new QGroupBox(tr("Название картинки"));
    auto* namesLayout = new QVBoxLayout(names);
    DBGrid1 = new CursorGrid(table_, {{PictureField::Name, QStringLiteral("Name"), 40}}, true);
    DBGrid1->setFixedSize(200, 280);
    namesLayout->addWidget(DBGrid1);
    row->addWidget(names);
    auto* view = new QGroupBox(tr("Просмотр изображения"));
    auto* viewLayout = new QVBoxLayout(view);
    DBImage1 = new DbImage;
    DBImage1->setFixedSize(280, 280);
    MakeWhitePanel(DBImage1);
    viewLayout->addWidget(DBImage1);
    row->addWidget(view);
    top->addLayout(row);

    auto* buttons = new QHBoxLayout;
    Button1 = new QPushButton(tr("Добавить"));
    Button2 = new QPushButton(tr("Удалить"));
    Button3 = new QPushButton(tr("Сменить картинку"));
    Button4 = new QPushButton(tr("ОК"));
    for (QPushButton* b : {Button1, Button2, Button3, Button4}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    Button4->setDefault(true);
    top->addLayout(buttons);

    Mapper = CatalogueUi::BindMapper(table_, this, {{DBImage1, PictureField::Image, "imageData"}});

    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm5::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm5::Button4Click);
    CatalogueUi::ShowError(parentWidget(), error);
}

QFileDialog* TForm5::pictureDialog() {
    // Made on first use: a file dialog lists and watches its folder as soon as it exists, which
    // start-up does not need. It starts in the program's folder and keeps the last one after that.
    if (!OpenPictureDialog1) {
        OpenPictureDialog1 = new QFileDialog(this);
        OpenPictureDialog1->setOption(QFileDialog::DontUseNativeDialog);
        OpenPictureDialog1->setFileMode(QFileDialog::ExistingFile);
        OpenPictureDialog1->setAcceptMode(QFileDialog::AcceptOpen);
        OpenPictureDialog1->setNameFilter(tr("Точечный рисунок BMP (*.bmp)"));
        OpenPictureDialog1->setDefaultSuffix(QStringLiteral("bmp"));
        OpenPictureDialog1->setDirectory(QDir::cleanPath(ui_.catalogue().folder() + QStringLiteral("/..")));
        if (auto* grid = qobject_cast<QGridLayout*>(OpenPictureDialog1->layout())) {
            auto* preview = new QLabel;
            preview->setFixedSize(160, 160);
            preview->setAlignment(Qt::AlignCenter);
            preview->setFrameShape(QFrame::StyledPanel);
            grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
            connect(OpenPictureDialog1, &QFileDialog::currentChanged, preview,
                    [preview](const QString& path) {
                        QPixmap pix(path);
                        preview->setPixmap(pix.isNull() ? QPixmap()
                                                        : pix.scaled(preview->size(), Qt::KeepAspectRatio));
                    });
        }
    }
    return OpenPictureDialog1;
}

QString TForm5::RunOpenDialog() {
    pictureDialog();
    if (OpenPictureDialog1->exec() != QDialog::Accepted) return {};
    const QStringList files = OpenPictureDialog1->selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

QDialog* TForm5::addDialog() const {
    return ui_.windows().get<TForm6>();
}

void TForm5::Button3Click() {
    const QString path = RunOpenDialog();
    if (path.isEmpty() || table_.row() < 0) return;
    QString error;
    const QByteArray bytes = DbImage::ReadBitmapFile(path, &error);
    if (CatalogueUi::ShowError(this, error)) return;
    table_.setField(PictureField::Image, bytes);
    CatalogueUi::ShowPostError(this, table_, table_.post());
}

void TForm5::Button4Click() {
    if (CatalogueUi::ShowPostError(this, table_, table_.post())) return;
    accept();
}
