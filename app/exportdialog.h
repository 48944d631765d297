// SPDX-License-Identifier: MIT
#pragma once

#include "document/schematicimage.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPagedPaintDevice;
class QPushButton;

// "Экспорт": the schematic as a picture file. The format (PNG, SVG, PDF), the zoom (the
// workspace's list, starting at its current zoom), the whole schematic or only the selected
// elements, and the file; "Сохранить" writes it whole or says why it could not.
class ExportDialog : public QDialog {
    Q_OBJECT
public:
    // `scale` is the workspace's zoom (pixels per cell), `desktop` its colour (0x00BBGGRR);
    // `path` the file name offered.
    ExportDialog(const Schematic& schematic, const RoutingGrids& grids, int scale, int32_t desktop,
                 const QString& path, QWidget* parent = nullptr);

    QComboBox* FormatBox = nullptr;
    QComboBox* ZoomBox = nullptr;
    QCheckBox* SelectionBox = nullptr;
    QLineEdit* FileEdit = nullptr;
    QPushButton* BrowseButton = nullptr;
    QPushButton* SaveButton = nullptr;
    QPushButton* CancelButton = nullptr;

    PictureFormat format() const;
    PictureOptions options() const;
    // The file to write: the edit's text with the format's suffix added when it has another.
    QString TargetPath() const;
    // Writes the picture; on success closes the dialog, otherwise says why and stays open.
    bool Export();
    // The file dialog of "Обзор...": picks the file name, and the format by its filter.
    void Browse();

private:
    void FormatChanged();

    const Schematic& schematic_;
    const RoutingGrids& grids_;
    int32_t desktop_;
    QString confirmed_; // the file the file dialog chose, whose replacement it confirmed
};

// Prints the picture on one page of `device`, shrunk to fit the page when it is larger; returns
// false when the device cannot be painted on.
bool PrintSchematicPicture(const SchematicPicture& picture, QPagedPaintDevice& device);
