// SPDX-License-Identifier: MIT
#pragma once

#include "app/mainwindow.h"
#include "catalogue/catalogue.h"
#include "tests/common/testutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// A program folder in a temporary directory with an optional settings file, and a main window
// started on it the way main() starts it.
class AppFixture : public ::testing::Test {
protected:
    QString configPath() const { return dir.filePath(QStringLiteral("config/main.ini")); }

    void writeConfig(const QByteArray& text) {
        QDir(dir.path()).mkpath(QStringLiteral("config"));
        QFile f(configPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QByteArray readConfig() const {
        QFile f(configPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Copies the default catalogue staged beside the test binaries into the program folder, so
    // a test works on it without ever changing the staged files.
    void copyDefaultCatalogue() {
        const QDir staged(QCoreApplication::applicationDirPath() + QStringLiteral("/bases"));
        QDir(dir.path()).mkpath(QStringLiteral("bases"));
        for (const QString& f : {Catalogue::PicturesFile, Catalogue::ElementsFile, Catalogue::ChipsFile})
            ASSERT_TRUE(QFile::copy(staged.filePath(f), dir.filePath(QStringLiteral("bases/") + f)))
                << f.toStdString();
    }

    TForm1& start() {
        form = std::make_unique<TForm1>(dir.path());
        form->CreateWindows();
        form->resize(900, 700);
        form->show();
        return *form;
    }

    void TearDown() override {
        // A window the test closed itself is left as it is.
        if (form && form->isVisible()) {
            // Closing writes the settings; make sure it can.
            QDir(dir.path()).mkpath(QStringLiteral("config"));
            // A test's changes are given up at closing.
            if (form->document().isModified()) AnswerNextMessageBox(QMessageBox::No);
            form->close();
        }
    }

    QTemporaryDir dir;
    std::unique_ptr<TForm1> form;
};

// A main window started on a copy of the default catalogue and shown.
class CatalogueAppFixture : public AppFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        copyDefaultCatalogue();
        start();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
};
