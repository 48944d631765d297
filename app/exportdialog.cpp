// SPDX-License-Identifier: MIT
#include "app/exportdialog.h"

#include "sim/traceexport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace {

struct FormatText {
    PictureFormat format;
    const char* name;   // in the format list
    const char* filter; // in the file dialog
    const char* suffix;
};

constexpr FormatText Formats[] = {
    {PictureFormat::Png, QT_TRANSLATE_NOOP("ExportDialog", "Рисунок PNG"),
     QT_TRANSLATE_NOOP("ExportDialog", "Рисунок PNG (*.png)"), "png"},
    {PictureFormat::Svg, QT_TRANSLATE_NOOP("ExportDialog", "Рисунок SVG"),
     QT_TRANSLATE_NOOP("ExportDialog", "Рисунок SVG (*.svg)"), "svg"},
    {PictureFormat::Pdf, QT_TRANSLATE_NOOP("ExportDialog", "Документ PDF"),
     QT_TRANSLATE_NOOP("ExportDialog", "Документ PDF (*.pdf)"), "pdf"},
};

} // namespace

ExportDialog::ExportDialog(const Schematic& schematic, const RoutingGrids& grids, int scale, int32_t desktop,
                           const QString& path, QWidget* parent)
    : QDialog(parent), schematic_(schematic), grids_(grids), desktop_(desktop) {
    setObjectName(QStringLiteral("ExportDialog"));
    setWindowTitle(tr("Экспорт"));

    FormatBox = new QComboBox;
    FormatBox->setObjectName(QStringLiteral("FormatBox"));
    for (const FormatText& f : Formats)
        FormatBox->addItem(tr(f.name));
    ZoomBox = new QComboBox;
    ZoomBox->setObjectName(QStringLiteral("ZoomBox"));
    for (int pct = 30; pct <= 200; pct += 10)
        ZoomBox->addItem(QStringLiteral("%1%").arg(pct), pct / 10);
    ZoomBox->setCurrentIndex(std::clamp(scale, 3, 20) - 3);
    SelectionBox = new QCheckBox(tr("Только выделенные элементы"));
    SelectionBox->setObjectName(QStringLiteral("SelectionBox"));
    SelectionBox->setEnabled(HasSelection(schematic));
    FileEdit = new QLineEdit(QDir::toNativeSeparators(path));
    FileEdit->setObjectName(QStringLiteral("FileEdit"));
    FileEdit->setMinimumWidth(280);
    BrowseButton = new QPushButton(tr("Обзор..."));
    BrowseButton->setObjectName(QStringLiteral("BrowseButton"));

    auto* file = new QHBoxLayout;
    file->addWidget(FileEdit, 1);
    file->addWidget(BrowseButton);
    auto* form = new QFormLayout;
    form->addRow(tr("&Формат:"), FormatBox);
    form->addRow(tr("&Масштаб:"), ZoomBox);
    form->addRow(QString(), SelectionBox);
    form->addRow(tr("Ф&айл:"), file);

    auto* buttons = new QDialogButtonBox;
    SaveButton = buttons->addButton(tr("Сохранить"), QDialogButtonBox::AcceptRole);
    SaveButton->setObjectName(QStringLiteral("SaveButton"));
    SaveButton->setDefault(true);
    CancelButton = buttons->addButton(tr("Отмена"), QDialogButtonBox::RejectRole);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    const std::optional<PictureFormat> offered = PictureFormatOfPath(path);
    FormatBox->setCurrentIndex(offered ? static_cast<int>(*offered) : 0);
    connect(FormatBox, &QComboBox::currentIndexChanged, this, &ExportDialog::FormatChanged);
    connect(BrowseButton, &QPushButton::clicked, this, &ExportDialog::Browse);
    connect(SaveButton, &QPushButton::clicked, this, &ExportDialog::Export);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

PictureFormat ExportDialog::format() const {
    return Formats[std::clamp(FormatBox->currentIndex(), 0, 2)].format;
}

PictureOptions ExportDialog::options() const {
    PictureOptions o;
    o.scale = ZoomBox->currentData().toInt();
    o.desktop = desktop_;
    o.selectionOnly = SelectionBox->isEnabled() && SelectionBox->isChecked();
    return o;
}

QString ExportDialog::TargetPath() const {
    const QString path = QDir::fromNativeSeparators(FileEdit->text().trimmed());
    if (path.isEmpty()) return path;
    const QString suffix = QString::fromLatin1(Formats[static_cast<int>(format())].suffix);
    return QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) == 0 ? path : path + u'.' + suffix;
}

// A name typed with another format's suffix keeps its stem: "a.png" becomes "a.svg" with SVG.
void ExportDialog::FormatChanged() {
    const QString path = FileEdit->text().trimmed();
    if (path.isEmpty() || !PictureFormatOfPath(path)) return;
    const QFileInfo info(path);
    const QString stem = path.left(path.size() - info.suffix().size() - 1);
    FileEdit->setText(stem + u'.' + QString::fromLatin1(Formats[static_cast<int>(format())].suffix));
}

void ExportDialog::Browse() {
    QFileDialog dialog(this, tr("Экспорт"));
    dialog.setObjectName(QStringLiteral("ExportFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList filters;
    for (const FormatText& f : Formats)
        filters << tr(f.filter);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters[static_cast<int>(format())]);
    dialog.setDefaultSuffix(QString::fromLatin1(Formats[static_cast<int>(format())].suffix));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        dialog.setDefaultSuffix(
            QString::fromLatin1(Formats[std::max<qsizetype>(0, filters.indexOf(filter))].suffix));
    });
    const QString current = QDir::fromNativeSeparators(FileEdit->text().trimmed());
    if (!current.isEmpty()) dialog.selectFile(current);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    FormatBox->setCurrentIndex(
        static_cast<int>(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter()))));
    // The file dialog has asked about replacing it already.
    confirmed_ = dialog.selectedFiles().first();
    FileEdit->setText(QDir::toNativeSeparators(confirmed_));
}

bool ExportDialog::Export() {
    const QString path = TargetPath();
    if (path.isEmpty()) {
        QMessageBox::warning(this, tr("Внимание"), tr("Укажите имя файла"));
        return false;
    }
    const SchematicPicture picture(schematic_, grids_, options());
    if (picture.empty()) {
        QMessageBox::warning(this, tr("Внимание"), tr("На схеме нечего экспортировать"));
        return false;
    }
    const QByteArray bytes = picture.Encode(format());
    if (bytes.isEmpty()) {
        QMessageBox::warning(this, tr("Внимание"),
                             tr("Рисунок слишком велик (%1 × %2 точек): уменьшите масштаб")
                                 .arg(picture.size().width())
                                 .arg(picture.size().height()));
        return false;
    }
    if (path != confirmed_ && QFileInfo::exists(path) &&
        QMessageBox::question(this, tr("Внимание"),
                              tr("Файл %1 уже существует. Заменить его?").arg(QDir::toNativeSeparators(path)),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return false;
    QString why;
    if (!SaveFileWhole(path, bytes, &why)) {
        QMessageBox::warning(this, tr("Внимание"),
                             tr("Не удалось записать файл %1:\n%2").arg(QDir::toNativeSeparators(path), why));
        return false;
    }
    accept();
    return true;
}

bool PrintSchematicPicture(const SchematicPicture& picture, QPagedPaintDevice& device) {
    QPainter p;
    if (picture.empty() || !p.begin(&device)) return false;
    // A picture pixel is a 96th of an inch, unless the page is too small for it.
    const QRectF page = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const double natural = device.logicalDpiX() / 96.0;
    const double fit =
        std::min(page.width() / picture.size().width(), page.height() / picture.size().height());
    const double factor = std::min(natural, fit);
    p.scale(factor, factor);
    picture.Paint(p);
    return p.end();
}
