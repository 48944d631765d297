// SPDX-License-Identifier: MIT
#include "ui/buttonrow.h"

#include <QCoreApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

OkCancelRow MakeOkCancelRow(QDialog* dialog, const QString& okText, bool alignRight) {
    OkCancelRow row;
    row.layout = new QHBoxLayout;
    if (alignRight) row.layout->addStretch();
    row.ok = new QPushButton(okText);
    row.cancel = new QPushButton(QCoreApplication::translate("OkCancelRow", "Отмена"));
    row.ok->setDefault(true);
    row.layout->addWidget(row.ok);
    row.layout->addWidget(row.cancel);
    QObject::connect(row.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return row;
}
