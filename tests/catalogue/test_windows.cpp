// SPDX-License-Identifier: MIT
#include "catalogue/addchipdialog.h"
#include "catalogue/catalogueui.h"
#include "catalogue/chipsearchdialog.h"
#include "catalogue/chipswindow.h"
#include "catalogue/cursorgrid.h"
#include "catalogue/dbimage.h"
#include "catalogue/elementchooser.h"
#include "catalogue/elementnamedialog.h"
#include "catalogue/elementswindow.h"
#include "catalogue/fields.h"
#include "catalogue/markingdialog.h"
#include "catalogue/picturechooser.h"
#include "catalogue/picturenamedialog.h"
#include "catalogue/pictureswindow.h"
#include "model/schematic.h"
#include "tests/catalogue/catalogue_fixture.h"
#include "tests/common/testutil.h"
#include "ui/translation.h"
#include "ui/windowregistry.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>

#include <initializer_list>
#include <memory>

namespace {

// The catalogue windows created in start-up order on a catalogue in a temporary folder.
class Windows : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        seed();
        ui = std::make_unique<CatalogueUi>(dir.path(), ListInto(model));
        new TForm6(*ui);
        new TForm7(*ui);
        new TForm8(*ui);
        new TForm5(*ui);
        new TForm9(*ui);
        new TForm10(*ui);
        new TForm11(*ui);
        new TForm12(*ui);
        new TForm13(*ui);
        new TForm14(*ui);
    }
    virtual void seed() { WriteSmallCatalogue(dir.path()); }

    Catalogue& cat() { return ui->catalogue(); }
    template <class T> T* form() const { return ui->windows().get<T>(); }
    QStringList rootTexts() const {
        QStringList out;
        for (int r = 0; r < model.navigator().model().rowCount(); ++r)
            out << model.navigator().model().item(r)->text();
        return out;
    }

    QTemporaryDir dir;
    Schematic model;
    std::unique_ptr<CatalogueUi> ui;
};

QStringList childTexts(const QStandardItem* node) {
    QStringList out;
    for (int r = 0; r < node->rowCount(); ++r)
        out << node->child(r)->text();
    return out;
}

TEST_F(Windows, OpeningInStartUpOrderRunsTheChain) {
    // The chips window opened last: its first chip (K1, element OR) is current down the chain.
    EXPECT_EQ(cat().chips().text(ChipField::Mark), QStringLiteral("K1"));
    EXPECT_EQ(cat().elements().text(ElementField::Name), QStringLiteral("OR"));
    EXPECT_EQ(cat().pictures().text(PictureField::Name), QStringLiteral("C"));
    EXPECT_EQ(form<TForm7>()->DBEdit1->text(), QStringLiteral("101"));
    EXPECT_EQ(form<TForm10>()->DBEdit1->text(), QStringLiteral("OR"));
    EXPECT_EQ(form<TForm10>()->DBEdit2->text(), QStringLiteral("4"));
    EXPECT_EQ(form<TForm5>()->DBImage1->image().height(), 95);
    EXPECT_EQ(form<TForm7>()->Preview.height(), 95);
}

TEST_F(Windows, GridsShareTheCurrentRecord) {
    form<TForm13>()->DBGrid1->setCurrentIndex(form<TForm13>()->DBGrid1->model()->index(2, 0));
    EXPECT_EQ(cat().chips().row(), 2);
    EXPECT_EQ(form<TForm10>()->DBGrid1->currentIndex().row(), 2);
    EXPECT_EQ(form<TForm10>()->DBEdit1->text(), QStringLiteral("NOT"));
    EXPECT_EQ(form<TForm12>()->DBGrid1->currentIndex().row(), 2); // the elements grid followed the chip
}

struct AddChipCase {
    QVariant elemCount;
    QStringList children;
};

class AddChip : public Windows, public ::testing::WithParamInterface<AddChipCase> {
protected:
    void seed() override {
        WriteCatalogue(dir.path(), {}, {}, {{QStringLiteral("CHIP"), "", "", GetParam().elemCount}});
    }
};

TEST_P(AddChip, ListsTheChipThirdWithItsElements) {
    // Two chips listed before, then taken out of the tree again.
    model.ListChip(QStringLiteral("A"), 0);
    model.ListChip(QStringLiteral("B"), 0);
    model.ReadTree("\xD1\xEF\xE5\xF6. \xFD\xEB\xE5\xEC\xE5\xED\xF2\xFB\r\n"); // "Спец. элементы" alone
    form<TForm13>()->Button3->click(); // "Добавить": the dialog stays
    EXPECT_EQ(model.ChipCount(), 3);
    ASSERT_EQ(rootTexts(), (QStringList{"CHIP", "Спец. элементы"}));
    QStandardItem* group = model.navigator().model().item(0);
    EXPECT_EQ(Navigator::imageIndex(group), Navigator::ImageGroup);
    EXPECT_EQ(Navigator::dataRef(group), 3);
    EXPECT_EQ(childTexts(group), GetParam().children);
    for (int r = 0; r < group->rowCount(); ++r)
        EXPECT_EQ(Navigator::imageIndex(group->child(r)), Navigator::ImageListed);
}

std::string AddChipName(const ::testing::TestParamInfo<AddChipCase>& info) {
    static const char* names[] = {"Four", "One", "Zero", "Empty", "Null", "Negative", "Rounded"};
    return names[info.index];
}

INSTANTIATE_TEST_SUITE_P(ElemCounts, AddChip,
                         ::testing::Values(AddChipCase{4, {"D3.1", "D3.2", "D3.3", "D3.4"}},
                                           AddChipCase{1, {"D3"}}, AddChipCase{0, {}},
                                           AddChipCase{QString(""), {}}, AddChipCase{QVariant(), {}},
                                           AddChipCase{-2, {}}, AddChipCase{1.6, {"D3.1", "D3.2"}}),
                         AddChipName);

TEST_F(Windows, SameChipTwiceGivesTwoGroupsNewestOnTopAndOkCloses) {
    cat().chips().setRow(0); // K1, four elements
    bool closed = false;
    WhenModalShown([&](QWidget* w) {
        auto* dlg = qobject_cast<TForm13*>(w);
        ASSERT_NE(dlg, nullptr);
        dlg->Button3->click();
        dlg->Button2->click(); // "ОК" adds once more and closes
        closed = !dlg->isVisible();
    });
    form<TForm13>()->exec();
    EXPECT_TRUE(closed);
    ASSERT_EQ(rootTexts(), (QStringList{"K1", "K1"}));
    EXPECT_EQ(Navigator::dataRef(model.navigator().model().item(0)), 2);
    EXPECT_EQ(childTexts(model.navigator().model().item(0)), (QStringList{"D2.1", "D2.2", "D2.3", "D2.4"}));
    EXPECT_EQ(childTexts(model.navigator().model().item(1)), (QStringList{"D1.1", "D1.2", "D1.3", "D1.4"}));

    WhenModalShown([](QWidget* w) { static_cast<TForm13*>(w)->Button4->click(); }); // "Отмена"
    form<TForm13>()->exec();
    EXPECT_EQ(model.ChipCount(), 2);
}

class Search : public Windows {
protected:
    void seed() override {
        WriteCatalogue(dir.path(), {}, {},
                       {{"ABC123", "Z", "", 1}, {"XBC9", "A", "", 1}, {"AAA", "M", "", 1}});
    }
    // Runs the search dialog modally with `pattern` and presses "ОК".
    void search(const QString& pattern) {
        WhenModalShown([pattern](QWidget* w) {
            auto* dlg = qobject_cast<TForm14*>(w);
            ASSERT_NE(dlg, nullptr);
            EXPECT_TRUE(dlg->Edit1->hasSelectedText() || dlg->Edit1->text().isEmpty());
            dlg->Edit1->setText(pattern);
            dlg->Button1->click();
        });
        form<TForm13>()->Button1Click();
    }
};

TEST_F(Search, SubstringStopsAtTheFirstMatchInTheCurrentOrder) {
    cat().chips().setRow(2);
    search(QStringLiteral("BC"));
    EXPECT_EQ(cat().chips().text(ChipField::Mark), QStringLiteral("ABC123"));
    EXPECT_EQ(form<TForm13>()->DBGrid1->currentIndex().row(), cat().chips().row());

    SortChips(*ui, form<TForm13>()->DBGrid1, 1); // by Type: XBC9 (A) comes before ABC123 (Z)
    search(QStringLiteral("BC"));
    EXPECT_EQ(cat().chips().text(ChipField::Mark), QStringLiteral("XBC9"));
    EXPECT_FALSE(form<TForm14>()->isVisible());
}

TEST_F(Search, NoMatchShowsTheMessageAndGoesToTheFirstRecord) {
    for (const QString& pattern : {QStringLiteral("bc"), QString()}) {
        cat().chips().setRow(1);
        WhenModalShown([&](QWidget* w) {
            auto* dlg = qobject_cast<TForm14*>(w);
            ASSERT_NE(dlg, nullptr);
            dlg->Edit1->setText(pattern);
            AcceptNextMessageBox();
            dlg->Button1->click();
        });
        form<TForm14>()->exec();
        EXPECT_EQ(LastMessageBoxTitle(), QStringLiteral("Внимание!"));
        EXPECT_EQ(LastMessageBoxText(), QStringLiteral("Элемент не найден"));
        EXPECT_EQ(cat().chips().row(), 0);
        EXPECT_FALSE(form<TForm14>()->isVisible());
    }
}

TEST_F(Windows, SortingFromAddChipReordersTheCatalogueGridButKeepsItsStar) {
    CatalogueTable& chips = cat().chips();
    ASSERT_EQ(chips.append(QStringLiteral("K0")), QString());
    chips.setField(ChipField::Type, QStringLiteral("z"));
    ASSERT_EQ(chips.post(), QString());

    form<TForm13>()->show();
    QHeaderView* header = form<TForm13>()->DBGrid1->horizontalHeader();
    const int typeSection = chips.fieldIndex(ChipField::Type);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(typeSection) + 5, header->height() / 2));
    EXPECT_EQ(chips.order(), QStringLiteral("Type"));
    EXPECT_EQ(form<TForm13>()->DBGrid1->title(0), QStringLiteral("Маркировка"));
    EXPECT_EQ(form<TForm13>()->DBGrid1->title(1), QStringLiteral("Тип*"));
    EXPECT_EQ(form<TForm13>()->DBGrid1->model()->headerData(typeSection, Qt::Horizontal).toString(),
              QStringLiteral("Тип*"));
    QAbstractItemModel* grid10 = form<TForm10>()->DBGrid1->model();
    EXPECT_EQ(grid10->index(3, 0).data().toString(), QStringLiteral("K0")); // type "z" is last now
    EXPECT_EQ(grid10->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Маркировка*"));
    EXPECT_EQ(grid10->headerData(typeSection, Qt::Horizontal).toString(), QStringLiteral("Тип"));

    // Third column: nothing.
    const int descSection = chips.fieldIndex(ChipField::ElemName);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(descSection) + 5, header->height() / 2));
    EXPECT_EQ(chips.order(), QStringLiteral("Type"));
    form<TForm13>()->hide();
}

TEST_F(Windows, MarkingDialogRefusesAnEmptyTextAndADuplicateKey) {
    const int count = cat().chips().count();
    ASSERT_EQ(cat().chips().append(QStringLiteral("DUP")), QString());
    struct Step {
        QString mark;
        QString title;
        QString textPart;
    };
    for (const Step& s : {Step{"", "Внимание", "Необходимо ввести тип элемента"},
                          Step{"DUP", "Tarnwell", "Микросхема DUP с таким типом уже есть\n"}}) {
        bool stayedOpen = false;
        WhenModalShown([&](QWidget* w) {
            auto* dlg = qobject_cast<TForm11*>(w);
            ASSERT_NE(dlg, nullptr);
            dlg->Edit1->setText(s.mark);
            AcceptNextMessageBox();
            dlg->Button1->click();
            stayedOpen = dlg->isVisible();
            dlg->reject();
        });
        form<TForm11>()->exec();
        EXPECT_EQ(LastMessageBoxTitle(), s.title);
        EXPECT_TRUE(LastMessageBoxText().contains(s.textPart)) << LastMessageBoxText().toStdString();
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(cat().chips().count(), count + 1);
    }
    // The dialog keeps the last text; a fresh marking is added with the current element type.
    EXPECT_EQ(form<TForm11>()->Edit1->text(), QStringLiteral("DUP"));
    cat().elements().setRow(2);
    WhenModalShown([](QWidget* w) {
        auto* dlg = static_cast<TForm11*>(w);
        dlg->Edit1->setText(QStringLiteral("FRESH"));
        dlg->Button1->click();
    });
    form<TForm11>()->exec();
    EXPECT_EQ(cat().chips().count(), count + 2);
    EXPECT_EQ(cat().chips().text(ChipField::Mark), QStringLiteral("FRESH"));
    EXPECT_EQ(cat().chips().text(ChipField::ElemName), QStringLiteral("NOT"));
}

bool isRed(QRgb c) {
    return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}

int redPixelsInRows(const QImage& img, int x0, int x1, int y0, int y1) {
    int n = 0;
    for (int y = std::max(0, y0); y <= std::min(y1, img.height() - 1); ++y)
        for (int x = std::max(0, x0); x <= std::min(x1, img.width() - 1); ++x)
            n += isRed(img.pixel(x, y));
    return n;
}

TEST_F(Windows, DrawLegsMarksExactlyTheNamedRows) {
    cat().pictures().locate(PictureField::Name, QStringLiteral("B")); // 50 × 100, white
    TForm7* f = form<TForm7>();
    f->DBEdit1->setText(QStringLiteral("0101"));
    f->DBEdit2->setText(QStringLiteral("001"));
    const QImage& img = f->Preview;
    ASSERT_EQ(img.size(), QSize(50, 100));
    // Left pins at rows 2 and 4 (y 20 and 40) inside x 0..5, nothing at rows 1 and 3.
    EXPECT_GT(redPixelsInRows(img, 0, 5, 17, 22), 6);
    EXPECT_GT(redPixelsInRows(img, 0, 5, 37, 42), 6);
    EXPECT_EQ(redPixelsInRows(img, 0, 5, 5, 14), 0);
    EXPECT_EQ(redPixelsInRows(img, 0, 5, 25, 34), 0);
    EXPECT_EQ(redPixelsInRows(img, 6, 43, 0, 99), 0);
    // The output pin at row 3 on the right edge.
    EXPECT_GT(redPixelsInRows(img, 44, 49, 27, 32), 6);
    EXPECT_EQ(redPixelsInRows(img, 44, 49, 0, 24), 0);
    EXPECT_TRUE(isRed(img.pixel(0, 20)) || isRed(img.pixel(0, 19)));

    f->DBEdit1->setText(QStringLiteral("0000"));
    f->DBEdit2->setText(QString());
    EXPECT_EQ(redPixelsInRows(f->Preview, 0, 49, 0, 99), 0);
}

TEST_F(Windows, PictureHeightLimitsTheDefineBoxes) {
    TForm7* f = form<TForm7>();
    struct Case {
        QString picture;
        int limit;
    };
    for (const Case& c : {Case{"B", 9}, Case{"C", 8}, Case{"A", 5}}) {
        cat().pictures().locate(PictureField::Name, c.picture);
        EXPECT_EQ(f->DefineLimit(), c.limit) << c.picture.toStdString();
        f->DBEdit1->clear();
        QTest::keyClicks(f->DBEdit1, QStringLiteral("111111111111"));
        EXPECT_EQ(f->DBEdit1->text().size(), c.limit);
    }
    // A stored string longer than the limit is shown whole, can be shortened, not lengthened.
    cat().elements().setField(ElementField::IntDefine, QStringLiteral("10101010101"));
    ASSERT_EQ(cat().elements().post(), QString());
    EXPECT_EQ(f->DBEdit1->text(), QStringLiteral("10101010101"));
    f->DBEdit1->setFocus();
    f->DBEdit1->end(false);
    QTest::keyClick(f->DBEdit1, Qt::Key_1);
    EXPECT_EQ(f->DBEdit1->text(), QStringLiteral("10101010101"));
    QTest::keyClick(f->DBEdit1, Qt::Key_Backspace);
    EXPECT_EQ(f->DBEdit1->text(), QStringLiteral("1010101010"));
}

// Regression: a picture under 20 pixels high, or one that could not be decoded, gave a define limit
// of zero or below that refused select-all in the boxes, and the window did not say why.
TEST_F(Windows, PictureWithoutPinRowsAllowsNoPinsSaysSoAndTheBoxesCanBeEmptied) {
    TForm7* f = form<TForm7>();
    CatalogueTable& pictures = cat().pictures();
    const std::pair<QString, QByteArray> seeded[] = {{QStringLiteral("Junk"), QByteArray("not a bitmap")},
                                                     {QStringLiteral("Low"), BmpOf(50, 15)}};
    for (const auto& [name, bytes] : seeded) {
        ASSERT_EQ(pictures.append(name), QString());
        pictures.setField(PictureField::Image, bytes);
        ASSERT_EQ(pictures.post(), QString());
    }
    for (const auto& [name, bytes] : seeded) {
        SCOPED_TRACE(name.toStdString());
        pictures.locate(PictureField::Name, name);
        EXPECT_EQ(f->DefineLimit(), 0);
        EXPECT_TRUE(f->NoPinsLabel->isVisibleTo(f));
        EXPECT_EQ(f->NoPinsLabel->text(), QStringLiteral("Изображение не допускает выводов"));

        f->DBEdit1->setText(QStringLiteral("101"));
        f->DBEdit1->end(false);
        QTest::keyClick(f->DBEdit1, Qt::Key_1);
        EXPECT_EQ(f->DBEdit1->text(), QStringLiteral("101"));
        QTest::keyClick(f->DBEdit1, Qt::Key_Backspace);
        EXPECT_EQ(f->DBEdit1->text(), QStringLiteral("10"));
        f->DBEdit1->home(false);
        QTest::keyClick(f->DBEdit1, Qt::Key_Delete);
        EXPECT_EQ(f->DBEdit1->text(), QStringLiteral("0"));

        f->DBEdit2->setText(QStringLiteral("010"));
        QTest::keyClick(f->DBEdit2, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(f->DBEdit2, Qt::Key_Delete);
        EXPECT_EQ(f->DBEdit2->text(), QString());
    }
    pictures.locate(PictureField::Name, QStringLiteral("B"));
    EXPECT_EQ(f->DefineLimit(), 9);
    EXPECT_FALSE(f->NoPinsLabel->isVisibleTo(f));
}

TEST_F(Windows, PictureChooserCancelRestoresTheElementsPictureAndOkAssignsIt) {
    cat().elements().locate(ElementField::Name, QStringLiteral("AND")); // picture B, 100 high
    form<TForm7>()->move(5, 10);
    QPoint chooserPos;
    int browsedHeight = 0;
    WhenModalShown([&](QWidget* w) {
        auto* dlg = qobject_cast<TForm8*>(w);
        ASSERT_NE(dlg, nullptr);
        chooserPos = dlg->pos();
        dlg->DBGrid1->setCurrentIndex(dlg->DBGrid1->model()->index(2, 0)); // C
        browsedHeight = form<TForm7>()->Preview.height();
        dlg->Button2->click();
    });
    form<TForm8>()->exec();
    EXPECT_EQ(chooserPos, QPoint(21, 0));
    EXPECT_EQ(browsedHeight, 95);
    EXPECT_EQ(cat().pictures().text(PictureField::Name), QStringLiteral("B"));
    EXPECT_EQ(form<TForm7>()->Preview.height(), 100);

    WhenModalShown([&](QWidget* w) {
        auto* dlg = static_cast<TForm8*>(w);
        dlg->DBGrid1->setCurrentIndex(dlg->DBGrid1->model()->index(0, 0)); // A
        QTest::keyClick(dlg, Qt::Key_Return);
    });
    form<TForm8>()->exec();
    EXPECT_EQ(cat().elements().text(ElementField::ImageName), QStringLiteral("A"));
    EXPECT_EQ(form<TForm7>()->DBEdit3->text(), QStringLiteral("A"));
    EXPECT_EQ(cat().pictures().text(PictureField::Name), QStringLiteral("A"));
}

struct DeleteCase {
    const char* window;
    const char* title;
    const char* text;
};

class Delete : public Windows, public ::testing::WithParamInterface<DeleteCase> {
protected:
    CatalogueTable& table() {
        const QString w = QString::fromLatin1(GetParam().window);
        return w == "Form5" ? cat().pictures() : w == "Form7" ? cat().elements() : cat().chips();
    }
    void clickDelete() {
        const QString w = QString::fromLatin1(GetParam().window);
        if (w == "Form5")
            form<TForm5>()->Button2->click();
        else if (w == "Form7")
            form<TForm7>()->Button2->click();
        else
            form<TForm10>()->Button2->click();
    }
};

TEST_P(Delete, AsksWithTheExactTextAndDoesNothingOnAnEmptyTable) {
    const int count = table().count();
    for (QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        QString title;
        QString text;
        WhenModalShown([&](QWidget* w) {
            auto* mb = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(mb, nullptr);
            title = mb->windowTitle();
            text = mb->text();
            mb->button(answer)->click();
        });
        clickDelete();
        EXPECT_EQ(title, QString::fromUtf8(GetParam().title));
        EXPECT_EQ(text, QString::fromUtf8(GetParam().text));
    }
    EXPECT_EQ(table().count(), count - 1);
    while (table().count() > 0)
        ASSERT_EQ(table().remove(), QString());
    bool asked = false;
    WhenModalShown(
        [&](QWidget* w) {
            asked = true;
            if (auto* mb = qobject_cast<QMessageBox*>(w)) mb->reject();
        },
        300);
    clickDelete();
    QTest::qWait(400);
    EXPECT_FALSE(asked);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, Delete,
    ::testing::Values(DeleteCase{"Form5", "Внимание!", "Вы действительно хотите удалить текущую картинку"},
                      DeleteCase{"Form7", "Внимание", "Вы действительно хотите удалить текущий элемент"},
                      DeleteCase{"Form10", "Внимание", "Вы действительно хотите удалить текущий элемент"}),
    [](const ::testing::TestParamInfo<DeleteCase>& info) { return std::string(info.param.window); });

// Closes the next message box with OK once it is up, keeping its text in `text`; modal dialogs
// under it are passed over. Gives up after five seconds.
void CloseNextMessageBox(QString* text) {
    WhenModalShown([](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
                   [text](QWidget* w) {
                       auto* box = static_cast<QMessageBox*>(w);
                       *text = box->text();
                       box->button(QMessageBox::Ok)->click();
                   });
}

// The names stored in a pictures file, read through a connection of its own.
QStringList StoredNames(const QString& file) {
    QStringList names;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("names"));
        db.setDatabaseName(file);
        EXPECT_TRUE(db.open());
        QSqlQuery q(QStringLiteral("SELECT Name FROM elements_images ORDER BY Name"), db);
        while (q.next())
            names << q.value(0).toString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("names"));
    return names;
}

// One chip's row of a chips file as text, each value with its SQLite type.
QString StoredChipRow(const QString& file, const QString& mark) {
    QStringList values;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("row"));
        db.setDatabaseName(file);
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT * FROM microchips WHERE Mark = ?"));
        q.addBindValue(mark);
        EXPECT_TRUE(q.exec());
        if (q.next())
            for (int i = 0; i < q.record().count(); ++i)
                values << q.value(i).toString() + QLatin1Char(':') +
                              QString::fromLatin1(q.value(i).typeName());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("row"));
    return values.join(QLatin1Char('|'));
}

// Picks `path` in the next file dialog, then runs `then` (for the box that follows, if any). The
// pictures window makes its file dialog on first use, which on a busy machine takes seconds: the
// wait is long.
void ChooseFileNext(const QString& path, std::function<void()> then = {}) {
    WhenModalShown([](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; },
                   [path, then](QWidget* w) {
                       auto* fd = qobject_cast<QFileDialog*>(w);
                       if (path.isEmpty()) {
                           fd->reject();
                       } else {
                           // Typed into the dialog's file name box, as a user would. Typing
                           // with the focus in the box drops the list's selection, which would
                           // otherwise win over the typed name; the test types without focus, and
                           // the list may still have the file chosen last time selected.
                           auto* name = fd->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                           ASSERT_NE(name, nullptr);
                           if (auto* list = fd->findChild<QListView*>(QStringLiteral("listView")))
                               list->clearSelection();
                           name->setText(path);
                           static_cast<QDialog*>(fd)->done(QDialog::Accepted);
                       }
                       if (then) then();
                   },
                   60000);
}

TEST_F(Windows, ChangePictureKeepsTheOldOneWhenTheFileIsNoBitmap) {
    cat().pictures().locate(PictureField::Name, QStringLiteral("A"));
    const QByteArray before = cat().pictures().value(PictureField::Image).toByteArray();
    const QString bad = dir.filePath(QStringLiteral("bad.bmp"));
    {
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("this is not a bitmap");
    }
    QString title;
    ChooseFileNext(bad, [&] {
        // The pictures window may still be the active modal widget when the polling starts.
        WhenModalShown([](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
                       [&](QWidget* w) {
                           auto* mb = static_cast<QMessageBox*>(w);
                           title = mb->windowTitle();
                           EXPECT_FALSE(mb->text().isEmpty());
                           mb->accept();
                       });
    });
    form<TForm5>()->Button3->click();
    EXPECT_EQ(title, QStringLiteral("Tarnwell"));
    EXPECT_EQ(cat().pictures().value(PictureField::Image).toByteArray(), before);

    // A real bitmap replaces it and is stored in the file.
    const QString good = dir.filePath(QStringLiteral("good.bmp"));
    QImage(30, 70, QImage::Format_RGB32).save(good, "BMP");
    ChooseFileNext(good);
    form<TForm5>()->Button3->click();
    EXPECT_EQ(form<TForm5>()->DBImage1->image().size(), QSize(30, 70));
    Catalogue again(dir.path());
    ASSERT_EQ(again.openPictures(), QString());
    EXPECT_EQ(QImage::fromData(again.pictures().value(PictureField::Image).toByteArray()).size(),
              QSize(30, 70));
}

TEST_F(Windows, PictureNameDialogAddsANamedBitmapInNameOrder) {
    const QString good = dir.filePath(QStringLiteral("new.bmp"));
    QImage(40, 80, QImage::Format_RGB32).save(good, "BMP");
    bool stayedAfterCancel = false;
    WhenModalShown([&](QWidget* w) {
        auto* dlg = qobject_cast<TForm6*>(w);
        ASSERT_NE(dlg, nullptr);
        dlg->Edit1->setText(QStringLiteral("AA"));
        ChooseFileNext(QString()); // cancelled: nothing added, the dialog stays
        dlg->Button1->click();
        stayedAfterCancel = dlg->isVisible();
        ChooseFileNext(good);
        dlg->Button1->click();
    });
    form<TForm5>()->Button1->click();
    EXPECT_TRUE(stayedAfterCancel);
    CatalogueTable& pictures = cat().pictures();
    EXPECT_EQ(pictures.count(), 4);
    EXPECT_EQ(pictures.order(), QStringLiteral("Name"));
    EXPECT_EQ(pictures.text(PictureField::Name), QStringLiteral("AA"));
    EXPECT_EQ(pictures.row(), 1); // A, AA, B, C
    EXPECT_EQ(form<TForm5>()->DBImage1->image().size(), QSize(40, 80));
}

// Regression: a file that was no bitmap left the new name behind without a picture, so the same
// name could not be added again.
TEST_F(Windows, PictureAddWithAFileThatIsNoBitmapLeavesNoRecord) {
    const QString bad = dir.filePath(QStringLiteral("bad.bmp"));
    {
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("BM but not really");
    }
    const QString good = dir.filePath(QStringLiteral("good.bmp"));
    QImage(20, 40, QImage::Format_RGB32).save(good, "BMP");
    CatalogueTable& pictures = cat().pictures();
    const QStringList before = StoredNames(dir.filePath(QStringLiteral("elements_images.db")));
    QString boxText;
    bool stayedOpen = false;
    int countAfterBad = 0;
    WhenModalShown([&](QWidget* w) {
        auto* dlg = qobject_cast<TForm6*>(w);
        ASSERT_NE(dlg, nullptr);
        dlg->Edit1->setText(QStringLiteral("NEW"));
        // The name dialog itself is modal, so the box is waited for by its class.
        ChooseFileNext(bad, [&] { CloseNextMessageBox(&boxText); });
        dlg->Button1->click();
        stayedOpen = dlg->isVisible();
        countAfterBad = pictures.count();
        EXPECT_EQ(StoredNames(dir.filePath(QStringLiteral("elements_images.db"))), before);
        ChooseFileNext(good); // the same name again, with a bitmap
        dlg->Button1->click();
    });
    form<TForm5>()->Button1->click();
    EXPECT_TRUE(boxText.contains(bad)) << boxText.toStdString();
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(countAfterBad, 3);
    EXPECT_EQ(pictures.count(), 4);
    EXPECT_EQ(pictures.text(PictureField::Name), QStringLiteral("NEW"));
    EXPECT_EQ(form<TForm5>()->DBImage1->image().size(), QSize(20, 40));
    EXPECT_EQ(StoredNames(dir.filePath(QStringLiteral("elements_images.db"))),
              (QStringList{"A", "B", "C", "NEW"}));
}

// Regression: a record without a picture kept showing the picture of the record shown before.
TEST_F(Windows, RecordWithoutAPictureShowsAnEmptyPreview) {
    CatalogueTable& pictures = cat().pictures();
    ASSERT_EQ(pictures.append(QStringLiteral("Bare")), QString());
    for (const QString& name :
         {QStringLiteral("B"), QStringLiteral("Bare"), QStringLiteral("A"), QStringLiteral("Bare")}) {
        pictures.locate(PictureField::Name, name);
        EXPECT_EQ(form<TForm5>()->DBImage1->image().isNull(), name == QStringLiteral("Bare"))
            << name.toStdString();
    }
}

TEST_F(Windows, ElementNameDialogAddsAnElementWithTheCurrentPicture) {
    cat().pictures().locate(PictureField::Name, QStringLiteral("B"));
    WhenModalShown([](QWidget* w) {
        auto* dlg = static_cast<TForm9*>(w);
        dlg->Edit1->setText(QStringLiteral("XOR"));
        QTest::keyClick(dlg->Edit1, Qt::Key_Return);
    });
    form<TForm7>()->Button1->click();
    EXPECT_EQ(cat().elements().text(ElementField::Name), QStringLiteral("XOR"));
    EXPECT_EQ(cat().elements().text(ElementField::ImageName), QStringLiteral("B"));
    EXPECT_EQ(form<TForm7>()->DBEdit3->text(), QStringLiteral("B"));
}

TEST_F(Windows, EditsTypedIntoBoundBoxesAreStoredByOk) {
    TForm10* f = form<TForm10>();
    f->DBEdit4->setText(QStringLiteral("33"));
    f->Button3->click();
    TForm7* g = form<TForm7>();
    g->DBMemo1->setPlainText(QStringLiteral("Y=~1"));
    g->Button5->click();
    Catalogue again(dir.path());
    ASSERT_EQ(again.openChips(), QString());
    EXPECT_EQ(again.chips().number(ChipField::ReactTimeLH), 33);
    ASSERT_EQ(again.openElements(), QString());
    again.elements().locate(ElementField::Name, QStringLiteral("OR"));
    EXPECT_EQ(again.elements().text(ElementField::Script), QStringLiteral("Y=~1"));
}

// Regression: text typed into a numeric box was stored as it was; the chip then listed no elements.
TEST_F(Windows, ChipsOkRefusesAWrongNumberNamingTheFieldAndStaysOpenUntilCorrectedOrCancelled) {
    TForm10* f = form<TForm10>();
    CatalogueTable& chips = cat().chips();
    const QString file = dir.filePath(QStringLiteral("microchips.db"));
    struct Step {
        QLineEdit* edit;
        QString field;
        QString text;
        QString message;
        bool discard; // leaves the box by "Отменить изменения" instead of correcting
    };
    const Step steps[] = {
        {f->DBEdit2, ChipField::ElemCount, "abc",
         "Поле «Количество элементов»: 'abc' is not a valid integer value", false},
        {f->DBEdit4, ChipField::ReactTimeLH, "-5",
         "Поле «Задержка Низк -> Выс»: значение '-5' вне пределов от 0 до 2147483647", true},
        {f->DBEdit3, ChipField::LegsCount, "1001",
         "Поле «Количество ножек»: значение '1001' вне пределов от 0 до 1000", false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.text.toStdString());
        const QString storedBefore = StoredChipRow(file, QStringLiteral("K1"));
        const QString shownBefore = chips.text(s.field);
        f->show();
        s.edit->setText(s.text);
        QString title;
        QString text;
        WhenModalShown([&](QWidget* w) {
            auto* mb = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(mb, nullptr);
            title = mb->windowTitle();
            text = mb->text();
            QAbstractButton* drop = nullptr;
            for (QAbstractButton* b : mb->buttons())
                if (b->text() == QStringLiteral("Отменить изменения")) drop = b;
            ASSERT_NE(drop, nullptr);
            (s.discard ? drop : mb->button(QMessageBox::Ok))->click();
        });
        f->Button3->click();
        EXPECT_EQ(title, QStringLiteral("Tarnwell"));
        EXPECT_EQ(text, s.message);
        EXPECT_EQ(StoredChipRow(file, QStringLiteral("K1")), storedBefore);
        if (s.discard) {
            // Cancelled: the box shows the stored value again and OK closes.
            EXPECT_FALSE(chips.isDirty());
            EXPECT_EQ(s.edit->text(), shownBefore);
            f->Button3->click();
            EXPECT_FALSE(f->isVisible());
            continue;
        }
        EXPECT_TRUE(f->isVisible());
        EXPECT_TRUE(chips.isDirty());
        EXPECT_EQ(s.edit->text(), s.text);
        // Corrected: OK stores it and closes.
        s.edit->setText(QStringLiteral("7"));
        f->Button3->click();
        EXPECT_FALSE(f->isVisible());
        EXPECT_FALSE(chips.isDirty());
        EXPECT_EQ(s.edit->text(), QStringLiteral("7"));
    }
    Catalogue again(dir.path());
    ASSERT_EQ(again.openChips(), QString());
    EXPECT_EQ(again.chips().number(ChipField::ElemCount), 7);
    EXPECT_EQ(again.chips().number(ChipField::LegsCount), 7);
}

TEST_F(Windows, MovingInTheGridWithAWrongNumberSaysWhyAndStaysOnTheRecord) {
    TForm10* f = form<TForm10>();
    f->show();
    f->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f));
    f->DBEdit5->setFocus();
    f->DBEdit5->setText(QStringLiteral("x1"));
    QString text;
    WhenModalShown([&](QWidget* w) {
        auto* mb = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(mb, nullptr);
        text = mb->text();
        mb->button(QMessageBox::Ok)->click();
    });
    // The click takes the focus from the box, which hands its text to the record, then moves.
    QTest::mouseClick(f->DBGrid1->viewport(), Qt::LeftButton, {}, f->DBGrid1->cellRect(2, 0).center());
    EXPECT_EQ(text, QStringLiteral("Поле «Задержка Выс -> Низк»: 'x1' is not a valid integer value"));
    EXPECT_EQ(cat().chips().row(), 0);
    EXPECT_EQ(f->DBGrid1->currentIndex().row(), 0);
    EXPECT_EQ(f->DBEdit5->text(), QStringLiteral("x1"));
    cat().chips().cancel();
    f->hide();
}

TEST_F(Windows, ElementChooserSetsTheChipsElementAndCancelLeavesTheBrowsedOne) {
    form<TForm10>()->move(3, 100);
    QPoint pos;
    WhenModalShown([&](QWidget* w) {
        auto* dlg = static_cast<TForm12*>(w);
        pos = dlg->pos();
        dlg->DBGrid1->setCurrentIndex(dlg->DBGrid1->model()->index(2, 0)); // NOT
        dlg->Button2->click();
    });
    form<TForm10>()->Button4->click();
    EXPECT_EQ(pos, QPoint(19, 84));
    EXPECT_EQ(cat().elements().text(ElementField::Name), QStringLiteral("NOT"));
    EXPECT_EQ(cat().chips().text(ChipField::ElemName), QStringLiteral("OR"));

    WhenModalShown([&](QWidget* w) {
        auto* dlg = static_cast<TForm12*>(w);
        dlg->DBGrid1->setCurrentIndex(dlg->DBGrid1->model()->index(0, 0)); // AND
        dlg->Button1->click();
    });
    form<TForm10>()->Button4->click();
    EXPECT_EQ(cat().chips().text(ChipField::ElemName), QStringLiteral("AND"));
    EXPECT_EQ(form<TForm10>()->DBEdit1->text(), QStringLiteral("AND"));
}

} // namespace

namespace {

TEST_F(Windows, GridEditsAreStoredOnMovingAndLimitedToTheFieldLength) {
    form<TForm10>()->show();
    CursorGrid* grid = form<TForm10>()->DBGrid1;
    const QModelIndex mark = grid->model()->index(0, cat().chips().fieldIndex(ChipField::Mark));
    grid->setCurrentIndex(mark);
    grid->edit(mark);
    auto* editor = grid->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->maxLength(), 20);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("K9"));
    QTest::keyClick(editor, Qt::Key_Tab);                          // leaves the editor; the edit is pending
    grid->setCurrentIndex(grid->model()->index(2, mark.column())); // moving stores it
    form<TForm10>()->hide();
    Catalogue again(dir.path());
    ASSERT_EQ(again.openChips(), QString());
    EXPECT_TRUE(again.chips().locate(ChipField::Mark, QStringLiteral("K9")));
    EXPECT_FALSE(again.chips().locate(ChipField::Mark, QStringLiteral("K1")));
}

// Saves `w` as `name` into the folder TARNWELL_GRAB_DIR names, when it names one.
void Grab(QWidget* w, const char* name) {
    const QPixmap picture = w->grab();
    EXPECT_FALSE(picture.isNull());
    const QString dir = qEnvironmentVariable("TARNWELL_GRAB_DIR");
    if (!dir.isEmpty()) picture.save(QDir(dir).filePath(QString::fromLatin1(name)));
}

// The catalogue windows with the toolkit's Russian texts installed, as the program starts.
class RussianToolkit : public Windows {
protected:
    void SetUp() override {
        Windows::SetUp();
        translator = InstallToolkitTranslation();
        ASSERT_NE(translator, nullptr)
            << "qtbase_ru missing: tools/install-deps.sh installs qt6-translations-l10n";
    }
    void TearDown() override {
        if (!translator) return;
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    QTranslator* translator = nullptr;
};

TEST_F(RussianToolkit, PictureFileDialogSpeaksRussian) {
    QStringList texts;
    WhenModalShown(
        [&](QWidget* w) {
            auto* fd = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(fd, nullptr);
            // A tidy folder for the picture: the catalogue's own files and two bitmaps.
            for (const char* bmp : {"and.bmp", "or.bmp"})
                TForm10::NandPicture().save(dir.filePath(QString::fromLatin1(bmp)), "BMP");
            fd->setDirectory(dir.path());
            fd->resize(760, 420);
            QTest::qWait(300); // the folder is read in the background
            if (auto* view = fd->findChild<QTreeView*>(QStringLiteral("treeView"))) {
                const QModelIndex first = view->model()->index(0, 0, view->rootIndex());
                view->setCurrentIndex(first);
            }
            QTest::qWait(50);
            for (const char* label : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
                if (auto* l = fd->findChild<QLabel*>(QString::fromLatin1(label)))
                    texts << l->text().remove(u'&');
            if (auto* box = fd->findChild<QDialogButtonBox*>())
                for (QAbstractButton* b : box->buttons())
                    texts << b->text().remove(u'&');
            Grab(fd, "russian-file-dialog.png");
            fd->reject();
        },
        60000);
    form<TForm5>()->RunOpenDialog();
    EXPECT_EQ(texts, (QStringList{"Перейти к:", "Имя файла:", "Типы файлов:", "Открыть", "Отмена"}))
        << texts.join(QLatin1Char('|')).toStdString();
}

TEST_F(RussianToolkit, DeleteConfirmationSaysYesAndNoInRussian) {
    QStringList buttons;
    WhenModalShown([&](QWidget* w) {
        auto* mb = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(mb, nullptr);
        buttons << mb->button(QMessageBox::Yes)->text() << mb->button(QMessageBox::No)->text();
        Grab(mb, "russian-confirmation.png");
        mb->button(QMessageBox::No)->click();
    });
    form<TForm10>()->Button2->click();
    EXPECT_EQ(buttons, (QStringList{"&Да", "&Нет"}));
    EXPECT_EQ(cat().chips().count(), 3);
}

// Regression: the catalogue deleted its windows in a fixed list order, not newest first as it
// claims, when they were created in another order.
TEST(CatalogueWindows, AreDeletedNewestFirstWhileTheTablesAreStillOpen) {
    QTemporaryDir dir;
    WriteSmallCatalogue(dir.path());
    Schematic model;
    QStringList deleted;
    {
        CatalogueUi ui(dir.path(), ListInto(model));
        for (QWidget* w : std::initializer_list<QWidget*>{new TForm10(ui), new TForm7(ui), new TForm5(ui),
                                                          new TForm14(ui)}) {
            QObject::connect(w, &QObject::destroyed, [&deleted, &ui, name = w->objectName()] {
                deleted << name + (ui.catalogue().chips().isOpen() ? QStringLiteral(" open") : QString());
            });
        }
    }
    EXPECT_EQ(deleted, (QStringList{"Form14 open", "Form5 open", "Form7 open", "Form10 open"}));
}

TEST(CatalogueWindows, RegisterInTheRegistryTheyAreGivenAndLeaveItWhenDeleted) {
    QTemporaryDir dir;
    WriteSmallCatalogue(dir.path());
    Schematic model;
    WindowRegistry windows;
    {
        CatalogueUi ui(dir.path(), ListInto(model), &windows);
        auto* elements = new TForm7(ui);
        auto* chooser = new TForm8(ui);
        EXPECT_EQ(&ui.windows(), &windows);
        EXPECT_EQ(windows.get<TForm7>(), elements);
        EXPECT_EQ(windows.get<TForm8>(), chooser);
        EXPECT_EQ(windows.get<TForm5>(), nullptr);
    }
    EXPECT_EQ(windows.get<TForm7>(), nullptr);
    EXPECT_EQ(windows.get<TForm8>(), nullptr);
}

} // namespace
