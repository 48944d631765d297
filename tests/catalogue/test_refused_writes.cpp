// SPDX-License-Identifier: MIT
// Catalogue files that another program locks or that cannot be written: typed edits stay in the
// window, and tables that could not be opened come back once the lock goes.
#include "catalogue/addchipdialog.h"
#include "catalogue/catalogueui.h"
#include "catalogue/chipswindow.h"
#include "catalogue/cursorgrid.h"
#include "catalogue/elementswindow.h"
#include "catalogue/fields.h"
#include "catalogue/pictureswindow.h"
#include "model/schematic.h"
#include "tests/catalogue/catalogue_fixture.h"
#include "tests/common/testutil.h"
#include "ui/windowregistry.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <memory>

namespace {

const QString ChipsTable = QStringLiteral("microchips.db");

// Another program in the middle of a write to `file`: while it lives, every other connection's
// reads and writes wait and then fail with "database is locked".
class ForeignLock {
public:
    explicit ForeignLock(const QString& file) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Name);
        db.setDatabaseName(file);
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(QStringLiteral("BEGIN EXCLUSIVE"))) << q.lastError().text().toStdString();
    }
    ~ForeignLock() { release(); }
    void release() {
        if (!QSqlDatabase::contains(Name)) return;
        {
            QSqlDatabase db = QSqlDatabase::database(Name);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(Name);
    }

private:
    static inline const QString Name = QStringLiteral("foreign-lock");
};

// Makes a file read-only for whoever runs the test: its permission bits, or for root (whom they do
// not stop) the file system's immutable flag, cleared again at the end.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const QString& path) : path_(path) {
        if (::geteuid() != 0) {
            ok_ = QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
            return;
        }
        ok_ = setImmutable(true);
    }
    ~ReadOnlyFile() {
        if (::geteuid() == 0 && ok_) setImmutable(false);
    }
    bool ok() const { return ok_; }

private:
    bool setImmutable(bool on) {
        const int fd = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }
    QString path_;
    bool ok_ = false;
};

// What the chips file holds for K1, read through a connection of its own.
QString StoredK1(const QString& file) {
    QString row;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("stored"));
        db.setDatabaseName(file);
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        EXPECT_TRUE(
            q.exec(QStringLiteral("SELECT Elem_name, React_Time_LH FROM microchips WHERE Mark = 'K1'")));
        if (q.next()) row = q.value(0).toString() + u'|' + q.value(1).toString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("stored"));
    return row;
}

// The catalogue windows of a small catalogue, created in start-up order once the test has set up
// its obstacle; every box at start-up is closed and kept.
class RefusedWrites : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        WriteSmallCatalogue(dir.path());
        chipsFile = dir.filePath(ChipsTable);
    }
    void start() {
        MessageCollector boxes;
        ui = std::make_unique<CatalogueUi>(dir.path(), ListInto(model));
        new TForm7(*ui);
        new TForm5(*ui);
        new TForm10(*ui);
        new TForm13(*ui);
        QApplication::processEvents();
        startupBoxes = boxes.texts;
    }
    template <class T> T* form() const { return ui->windows().get<T>(); }

    // Types into the chips window and presses its "OK"; the box that comes up is answered with
    // `button` and its text returned.
    QString typeAndConfirm(QMessageBox::StandardButton button) {
        TForm10* f = form<TForm10>();
        f->show();
        f->DBEdit1->setText(QStringLiteral("NOT"));
        f->DBEdit4->setText(QStringLiteral("42"));
        return confirm(button);
    }
    QString confirm(QMessageBox::StandardButton button) {
        QString text;
        WhenModalShown([&text, button](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box) return;
            text = box->text();
            box->button(button)->click();
        });
        form<TForm10>()->Button3->click();
        return text;
    }

    QTemporaryDir dir;
    QString chipsFile;
    Schematic model;
    std::unique_ptr<CatalogueUi> ui;
    QStringList startupBoxes;
};

// Regression: "OK" under another program's lock dropped the typed values and closed the window,
// and the message did not say that the edit was lost.
TEST_F(RefusedWrites, ALockedFileKeepsTheTypedValuesUntilTheLockGoes) {
    start();
    const QString stored = StoredK1(chipsFile);
    ASSERT_EQ(stored, QStringLiteral("OR|"));
    ForeignLock lock(chipsFile);
    const QString text = typeAndConfirm(QMessageBox::Ok);
    TForm10* f = form<TForm10>();
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->DBEdit1->text(), QStringLiteral("NOT"));
    EXPECT_EQ(f->DBEdit4->text(), QStringLiteral("42"));
    EXPECT_TRUE(ui->catalogue().chips().isDirty());
    EXPECT_EQ(text, QStringLiteral(
                        "Не удалось записать в таблицу microchips.\ndatabase is locked Unable to fetch row\n"
                        "Изменения не сохранены: введённые значения остались в окне."))
        << text.toStdString();
    lock.release();
    EXPECT_EQ(StoredK1(chipsFile), stored);

    // The lock is gone: "OK" stores what was typed and closes.
    MessageCollector boxes;
    f->Button3->click();
    EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join(u'\n').toStdString();
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(StoredK1(chipsFile), QStringLiteral("NOT|42"));
}

TEST_F(RefusedWrites, AReadOnlyFileKeepsTheTypedValuesUntilTheyAreDropped) {
    const ReadOnlyFile readOnly(chipsFile);
    if (!readOnly.ok()) GTEST_SKIP() << "this file system cannot make the file read-only for this user";
    start();
    ASSERT_TRUE(startupBoxes.isEmpty()) << startupBoxes.join(u'\n').toStdString();
    const QString text = typeAndConfirm(QMessageBox::Ok);
    TForm10* f = form<TForm10>();
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->DBEdit4->text(), QStringLiteral("42"));
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("Не удалось записать в таблицу microchips.\nattempt to write a "
                                       "readonly database")))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("Изменения не сохранены: введённые значения остались в окне.")))
        << text.toStdString();
    // "Отменить изменения" drops them: the window shows what is stored.
    WhenModalShown([](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box) return;
        for (QAbstractButton* b : box->buttons())
            if (b->text() == QStringLiteral("Отменить изменения")) b->click();
    });
    f->Button3->click();
    EXPECT_FALSE(ui->catalogue().chips().isDirty());
    EXPECT_EQ(f->DBEdit4->text(), QString());
    EXPECT_EQ(StoredK1(chipsFile), QStringLiteral("OR|"));
}

// Regression: a lock at start-up left the chip list empty until the program was restarted. The
// next catalogue window to come up opens the table again.
TEST_F(RefusedWrites, AChipListLockedAtStartUpComesBackWhenAWindowOpens) {
    {
        ForeignLock lock(chipsFile);
        start();
    }
    ASSERT_EQ(startupBoxes.size(), 1);
    EXPECT_TRUE(
        startupBoxes.first().startsWith(QStringLiteral("Не удалось открыть таблицу %1.").arg(chipsFile)))
        << startupBoxes.first().toStdString();
    EXPECT_TRUE(startupBoxes.first().contains(QStringLiteral("database is locked")));
    CatalogueTable& chips = ui->catalogue().chips();
    EXPECT_FALSE(chips.isOpen());

    TForm13* addChip = form<TForm13>();
    addChip->show();
    ASSERT_TRUE(chips.isOpen());
    EXPECT_EQ(addChip->DBGrid1->model()->rowCount(), 3);
    EXPECT_EQ(chips.text(ChipField::Mark), QStringLiteral("K1"));
    // The chain follows again: the chip's element type is current.
    EXPECT_EQ(ui->catalogue().elements().text(ElementField::Name), QStringLiteral("OR"));
    // The chips window's boxes are bound to the table opened again.
    TForm10* chipsWindow = form<TForm10>();
    chipsWindow->show();
    EXPECT_EQ(chipsWindow->DBEdit1->text(), QStringLiteral("OR"));
    addChip->hide();
    chipsWindow->hide();
}

} // namespace
