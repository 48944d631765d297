// SPDX-License-Identifier: MIT
#include "catalogue/picturenamedialog.h"

#include "catalogue/cataloguetable.h"
#include "catalogue/catalogueui.h"
#include "catalogue/dbimage.h"
#include "catalogue/fields.h"
#include "catalogue/linedialog.h"
#include "catalogue/pictureswindow.h"
#include "ui/windowregistry.h"

#include <QLineEdit>
#include <QPushButton>

TForm6::TForm6(CatalogueUi& ui, QWidget* parent) : LineDialog(ui, parent) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(tr("Ввод имени"));
    ui_.add(this);
    BuildNameDialog(this, tr("Введите тип элемента"), &Edit1, &Button1, &Button2);
    Edit1->setMaxLength(40);
    ConnectOk();
}

void TForm6::Button1Click() {
    const QString name = Edit1->text();
    if (name.isEmpty()) {
        ShowEmptyNameBox(this);
        return;
    }
    TForm5* pictures = ui_.windows().get<TForm5>();
    if (!pictures) return;
    const QString path = pictures->RunOpenDialog();
    if (path.isEmpty()) return;
    // The file is read before anything is appended, so a file that is no bitmap leaves no record
    // behind and the same name can be tried again.
    QString error;
    const QByteArray bytes = DbImage::ReadBitmapFile(path, &error);
    if (CatalogueUi::ShowError(this, error)) return;
    CatalogueTable& table = ui_.catalogue().pictures();
    // Appending in key order keeps the new record's position stable until the name order returns.
    if (CatalogueUi::ShowError(this, table.orderBy(QString()))) return;
    if (CatalogueUi::ShowError(this, table.append(name))) {
        table.orderBy(PictureField::Name);
        return;
    }
    table.setField(PictureField::Image, bytes);
    if (const QString postError = table.post(); !postError.isEmpty()) {
        // The appended name must not stay without its picture.
        table.cancel();
        table.remove();
        table.orderBy(PictureField::Name);
        CatalogueUi::ShowError(this, postError);
        return;
    }
    CatalogueUi::ShowError(this, table.orderBy(PictureField::Name));
    accept();
}
