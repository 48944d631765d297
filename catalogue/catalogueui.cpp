// SPDX-License-Identifier: MIT
#include "catalogue/catalogueui.h"

#include "catalogue/addchipdialog.h"
#include "catalogue/chipsearchdialog.h"
#include "catalogue/chipswindow.h"
#include "catalogue/elementchooser.h"
#include "catalogue/elementnamedialog.h"
#include "catalogue/elementswindow.h"
#include "catalogue/markingdialog.h"
#include "catalogue/picturechooser.h"
#include "catalogue/picturenamedialog.h"
#include "catalogue/pictureswindow.h"

#include <QDataWidgetMapper>
#include <QMessageBox>

CatalogueUi::CatalogueUi(const QString& basesFolder, Schematic* model, QObject* parent)
    : QObject(parent), catalogue_(basesFolder), model_(model) {}

CatalogueUi::~CatalogueUi() {
    // The windows hold views on the tables' models: they go first, newest first.
    delete Form14.data();
    delete Form13.data();
    delete Form12.data();
    delete Form11.data();
    delete Form10.data();
    delete Form9.data();
    delete Form5.data();
    delete Form8.data();
    delete Form7.data();
    delete Form6.data();
}

void CatalogueUi::DeleteCurrent(QWidget* parent, CatalogueTable& table, const QString& caption,
                                const QString& question) {
    if (table.isEmpty()) return;
    if (QMessageBox::question(parent, caption, question, QMessageBox::Yes | QMessageBox::No) !=
        QMessageBox::Yes)
        return;
    ShowError(parent, table.remove());
}

bool CatalogueUi::ShowError(QWidget* parent, const QString& error) {
    if (error.isEmpty()) return false;
    QMessageBox::critical(parent, QStringLiteral("Tarnwell"), error);
    return true;
}

QDataWidgetMapper* CatalogueUi::BindMapper(CatalogueTable& table, QWidget* owner) {
    auto* mapper = new QDataWidgetMapper(owner);
    mapper->setSubmitPolicy(QDataWidgetMapper::AutoSubmit);
    auto follow = [mapper, &table](int row) {
        if (mapper->model() != table.model()) mapper->setModel(table.model());
        if (!table.model()) return;
        if (row >= 0) {
            mapper->setCurrentIndex(row);
            return;
        }
        // No current record: the bound controls show nothing.
        for (int col = 0; col < table.model()->columnCount(); ++col) {
            QWidget* w = mapper->mappedWidgetAt(col);
            if (!w) continue;
            const QByteArray prop = mapper->mappedPropertyName(w);
            const QVariant old = w->property(prop.constData());
            w->setProperty(prop.constData(), QVariant(old.metaType()));
        }
    };
    QObject::connect(&table, &CatalogueTable::rowChanged, mapper, follow);
    follow(table.row());
    return mapper;
}
