// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/cataloguetable.h"

#include <QObject>
#include <QString>

#include <memory>

// The three tables of the catalogue folder and the current-record chain that keeps them in step:
// a chip move makes its element type current, an element type move makes its picture current
// (only while the pictures table is open, so the elements table may open first).
class Catalogue : public QObject {
    Q_OBJECT
public:
    static const QString PicturesFile; // "elements_images.db"
    static const QString ElementsFile; // "elements.db"
    static const QString ChipsFile;    // "microchips.db"

    // `mode` for every table (CatalogueTable::open).
    explicit Catalogue(const QString& folder,
                       CatalogueTable::OpenMode mode = CatalogueTable::OpenMode::ReadWrite,
                       QObject* parent = nullptr);
    ~Catalogue() override;

    const QString& folder() const { return folder_; }
    CatalogueTable& pictures() { return *pictures_; }
    CatalogueTable& elements() { return *elements_; }
    CatalogueTable& chips() { return *chips_; }

    // Each returns the engine's error text; the table stays closed on failure.
    QString openPictures();
    QString openElements();
    QString openChips();
    // Opens again, in start-up order, the tables whose last opening failed (another program held a
    // lock, the file was damaged): a catalogue window coming up or an element being placed tries
    // them again. Returns the errors of those that stay closed.
    QStringList ReopenFailed();

    // The pictures table goes to the current element's picture: no move when it is already
    // current, else a walk from the first record.
    void FindPicture();

private:
    void chipsScrolled();
    void elementsScrolled();

    QString folder_;
    CatalogueTable::OpenMode mode_;
    std::unique_ptr<CatalogueTable> pictures_;
    std::unique_ptr<CatalogueTable> elements_;
    std::unique_ptr<CatalogueTable> chips_;
};
