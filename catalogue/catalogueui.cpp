// SPDX-License-Identifier: MIT
#include "catalogue/catalogueui.h"

#include "catalogue/cataloguetable.h"
#include "ui/windowregistry.h"

#include <QApplication>
#include <QDataWidgetMapper>
#include <QEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include <utility>

CatalogueUi::CatalogueUi(const QString& basesFolder, ChipLister listChip, WindowRegistry* windows,
                         QObject* parent)
    : QObject(parent), catalogue_(basesFolder), listChip_(std::move(listChip)),
      ownWindows_(windows ? nullptr : std::make_unique<WindowRegistry>()),
      windows_(windows ? windows : ownWindows_.get()) {
    // A move that could not store the pending edit (in a grid, by the chain) has no handler of its
    // own to report it: the box goes over the window the user works in.
    for (CatalogueTable* table : {&catalogue_.pictures(), &catalogue_.elements(), &catalogue_.chips()})
        connect(table, &CatalogueTable::moveRefused, this, [table](const QString& error) {
            ShowPostError(QApplication::activeWindow(), *table, error);
        });
}

CatalogueUi::~CatalogueUi() {
    // The windows hold views on the tables' models: they go first, newest first.
    for (auto it = created_.rbegin(); it != created_.rend(); ++it)
        delete it->data();
}

void CatalogueUi::add(QWidget* window) {
    windows_->add(window);
    created_.emplace_back(window);
    window->installEventFilter(this);
}

bool CatalogueUi::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        const QStringList errors = catalogue_.ReopenFailed();
        if (!errors.isEmpty()) ShowError(qobject_cast<QWidget*>(watched), errors.join(u'\n'));
    }
    return false;
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

bool CatalogueUi::ShowPostError(QWidget* parent, CatalogueTable& table, const QString& error) {
    if (error.isEmpty()) return false;
    if (!table.isDirty()) return ShowError(parent, error);
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tarnwell"), error, QMessageBox::Ok, parent);
    QPushButton* drop = box.addButton(tr("Отменить изменения"), QMessageBox::DestructiveRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
    if (box.clickedButton() == drop) table.cancel();
    return true;
}

QDataWidgetMapper* CatalogueUi::BindMapper(CatalogueTable& table, QWidget* owner,
                                           const QList<Binding>& bindings) {
    auto* mapper = new QDataWidgetMapper(owner);
    mapper->setSubmitPolicy(QDataWidgetMapper::AutoSubmit);
    auto follow = [mapper, &table, bindings](int row) {
        if (mapper->model() != table.model()) {
            // A new model (the table opened again) clears the mappings: they are made anew.
            mapper->setModel(table.model());
            for (const Binding& b : bindings)
                if (const int col = table.fieldIndex(b.field); col >= 0)
                    mapper->addMapping(b.widget, col, b.property);
        }
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
