// SPDX-License-Identifier: MIT
#include "catalogue/catalogueeditor.h"

#include "catalogue/cataloguetable.h"
#include "catalogue/catalogueui.h"

#include <QDataWidgetMapper>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

CatalogueEditor::CatalogueEditor(CatalogueUi& ui, CatalogueTable& table, DeleteQuestion deleteQuestion,
                                 QWidget* parent)
    : QDialog(parent), ui_(ui), table_(table), deleteQuestion_(std::move(deleteQuestion)) {}

void CatalogueEditor::Button1Click() {
    if (QDialog* dialog = addDialog()) dialog->exec();
}

void CatalogueEditor::Button2Click() {
    CatalogueUi::DeleteCurrent(this, table_, deleteQuestion_.caption, deleteQuestion_.question);
}

void CatalogueEditor::AddRecordButtons(QVBoxLayout* top, QPushButton** add, QPushButton** remove,
                                       QPushButton** ok) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    *add = new QPushButton(tr("Добавить..."));
    *remove = new QPushButton(tr("Удалить"));
    *ok = new QPushButton(QStringLiteral("OK"));
    for (QPushButton* b : {*add, *remove, *ok})
        buttons->addWidget(b);
    for (QPushButton* b : {*add, *remove})
        b->setAutoDefault(false);
    top->addLayout(buttons);
    connect(*add, &QPushButton::clicked, this, &CatalogueEditor::Button1Click);
    connect(*remove, &QPushButton::clicked, this, &CatalogueEditor::Button2Click);
}

void CatalogueEditor::CloseAndStore() {
    Mapper->submit();
    const QString error = table_.post();
    // A refused number keeps the window open on the record, to be corrected or cancelled.
    if (!error.isEmpty() && table_.isDirty()) {
        CatalogueUi::ShowPostError(this, table_, error);
        return;
    }
    accept();
    CatalogueUi::ShowError(this, error);
}
