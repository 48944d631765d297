// SPDX-License-Identifier: MIT
#include "app/navigatorpanel.h"
#include "editor/surface.h"
#include "editor/workspaceframe.h"
#include "router/router.h"
#include "tests/app/appfixture.h"
#include "tests/common/testutil.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

namespace {

using MainWindow = AppFixture;

TEST_F(MainWindow, CreatesFifteenWindowsInOrderWithTheirCaptions) {
    TForm1& f = start();
    const std::pair<const char*, const char*> expected[] = {
        {"TForm1", "Zivuvazodi Tarnwell v0.99"},
        {"TForm4", "Настройки"},
        {"TForm6", "Ввод имени"},
        {"TForm7", "База данных с элементами"},
        {"TForm8", "Выбор картинки"},
        {"TForm5", "База данных с изображениями элементов"},
        {"TForm9", "Ввод имени"},
        {"TForm10", "База данных с микросхемами"},
        {"TForm11", "Вводмаркировки"},
        {"TForm12", "Выбор картинки"},
        {"TForm13", "Добвление микросхемы"},
        {"TForm14", "Поиск микросхемы"},
        {"TForm15", "Масштаб времени"},
        {"TForm16", "Настройка генератора"},
        {"TForm17", "Осциллографы"},
    };
    ASSERT_EQ(f.CreatedWindows.size(), 15);
    for (int i = 0; i < 15; ++i) {
        QWidget* w = f.CreatedWindows[i];
        EXPECT_STREQ(w->metaObject()->className(), expected[i].first) << i;
        // The main window's caption holds the mark of unsaved changes, shown only while there are.
        const QString caption = i == 0 ? w->windowHandle()->title() : w->windowTitle();
        EXPECT_EQ(caption, QString::fromUtf8(expected[i].second)) << i;
        if (i > 0) {
            EXPECT_TRUE(w->isWindow()) << i;
            EXPECT_FALSE(w->isVisible()) << i;
        }
    }
    EXPECT_EQ(f.minimumSize(), QSize(640, 480));
}

// Menu entries in order: text, or "-" for a separator, and whether the item is enabled.
using MenuRows = std::vector<std::pair<QString, bool>>;

MenuRows rowsOf(QMenu* menu) {
    MenuRows rows;
    for (QAction* a : menu->actions())
        rows.emplace_back(a->isSeparator() ? QStringLiteral("-") : a->text(), a->isEnabled());
    return rows;
}

MenuRows expectedBases(bool locked) {
    return {{QStringLiteral("Изображения элементов..."), !locked},
            {QStringLiteral("Елементы..."), !locked},
            {QStringLiteral("Изображения микросхем..."), false},
            {QStringLiteral("Микросхемы..."), !locked}};
}

void expectMenus(TForm1& f, bool locked) {
    QStringList titles;
    for (QAction* a : f.menuBar()->actions())
        titles << a->text();
    // Each with its mnemonic, so Alt and the letter reach it.
    EXPECT_EQ(titles, QStringList({QStringLiteral("&Файл"), QStringLiteral("&Правка"),
                                   QStringLiteral("&Схема"), QStringLiteral("&Базы данных")}));
    const MenuRows file = {{QStringLiteral("Новый"), true},
                           {QStringLiteral("Открыть..."), true},
                           {QStringLiteral("Сохранить"), true},
                           {QStringLiteral("Сохранить как..."), true},
                           {QStringLiteral("-"), true},
                           {QStringLiteral("Экспорт..."), true},
                           {QStringLiteral("Печать..."), true},
                           {QStringLiteral("-"), true},
                           {QStringLiteral("Настройки..."), true},
                           {QStringLiteral("-"), true},
                           {QStringLiteral("Выход"), true}};
    // Nothing to undo or redo in a fresh window.
    const MenuRows edit = {{QStringLiteral("Отменить"), false},
                           {QStringLiteral("Повторить"), false},
                           {QStringLiteral("-"), true},
                           {QStringLiteral("Вырезать"), true},
                           {QStringLiteral("Копировать"), true},
                           {QStringLiteral("Вставить"), true},
                           {QStringLiteral("-"), true},
                           {QStringLiteral("Выделить все"), true},
                           {QStringLiteral("Снять выделение"), true},
                           {QStringLiteral("Инвертировать выделение"), true}};
    const MenuRows scheme = {{QStringLiteral("Добавить микросхему..."), true},
                             {QStringLiteral("Добавить &специальный элемент"), true},
                             {QStringLiteral("Удалить выделенные элементы"), true},
                             {QStringLiteral("-"), true},
                             {QStringLiteral("Осцилографы"), true},
                             {QStringLiteral("Управление схемой..."), true}};
    const MenuRows special = {{QStringLiteral("Индикатор"), true}, {QStringLiteral("Переключатель"), true}};
    EXPECT_EQ(rowsOf(f.MenuFile), file);
    EXPECT_EQ(rowsOf(f.MenuEdit), edit);
    EXPECT_EQ(rowsOf(f.MenuScheme), scheme);
    EXPECT_EQ(rowsOf(f.MenuSpecial), special);
    EXPECT_EQ(rowsOf(f.MenuBases), expectedBases(locked));
    EXPECT_EQ(f.ActExit->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F4));
    EXPECT_EQ(f.ActNew->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(f.ActOpen->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(f.ActSave->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(f.ActPrint->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_EQ(f.ActUndo->shortcuts(), QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Z)});
    EXPECT_EQ(f.ActRedo->shortcuts(), (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
}

TEST_F(MainWindow, WithoutASettingsFileTheCatalogueItemsAreLockedAndDefaultsHold) {
    TForm1& f = start();
    expectMenus(f, true);
    const TOptions& o = f.options();
    EXPECT_EQ(o.DesktopColor, 0xFFFFFF);
    EXPECT_EQ(o.GridColor, 0);
    EXPECT_FALSE(o.FullSelection);
    EXPECT_FALSE(o.SelectOnCreate);
    EXPECT_FALSE(o.DrawConnections);
    EXPECT_TRUE(o.HighlightConnection);
    EXPECT_EQ(f.Frame21->surface().pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(f.Frame21->surface().pixel(10, 10), qRgb(0, 0, 0));
}

TEST_F(MainWindow, LockBasesZeroLeavesTheCatalogueItemsEnabled) {
    writeConfig("[Main]\r\nLockBases=0\r\n");
    expectMenus(start(), false);
}

TEST_F(MainWindow, ReadsHexadecimalAndDollarValuesAndIgnoresGarbage) {
    writeConfig(
        "[Colors]\nDesktop=0x00FF00\nGrid=$0000FF\n[Selection]\nFull=0x1\nDraw_conn=banana\nSel_conn=$0\n"
        "[Creation]\nSelection=7\n[Main]\nLockBases=$0\n");
    TForm1& f = start();
    const TOptions& o = f.options();
    EXPECT_EQ(o.DesktopColor, 0x00FF00);
    EXPECT_EQ(o.GridColor, 0x0000FF);
    EXPECT_TRUE(o.FullSelection);
    EXPECT_FALSE(o.DrawConnections); // garbage reads as the default
    EXPECT_FALSE(o.HighlightConnection);
    EXPECT_TRUE(o.SelectOnCreate);
    EXPECT_TRUE(f.ActChips->isEnabled());
    // 0x00BBGGRR: 0x00FF00 is green, $0000FF red.
    EXPECT_EQ(f.Frame21->surface().pixel(1, 1), qRgb(0, 255, 0));
    EXPECT_EQ(f.Frame21->surface().pixel(20, 30), qRgb(255, 0, 0));
}

// Regression: the catalogue windows outlived the model and the window registry they use when the
// main window was destroyed. They go first now.
TEST_F(MainWindow, TheCatalogueWindowsGoBeforeTheModelTheyUse) {
    TForm1& f = start();
    QStringList order;
    QObject::connect(&f.model(), &QObject::destroyed, [&order] { order << QStringLiteral("model"); });
    for (QWidget* w : f.CreatedWindows)
        if (const QString name = w->objectName(); name == u"Form13" || name == u"Form10")
            QObject::connect(w, &QObject::destroyed, [&order, name] { order << name; });
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("config"))));
    f.close();
    form.reset();
    ASSERT_EQ(order.size(), 3);
    EXPECT_EQ(order.last(), QStringLiteral("model"));
}

TEST_F(MainWindow, ClosingWritesTheSixKeysInOrderAndLeavesLockBasesAlone) {
    writeConfig("[Main]\r\nLockBases=0\r\n");
    TForm1& f = start();
    f.options().GridColor = 0x123456;
    f.options().FullSelection = true;
    EXPECT_TRUE(f.close());
    EXPECT_EQ(readConfig(),
              QByteArray("[Main]\r\nLockBases=0\r\n[Colors]\r\nDesktop=16777215\r\nGrid=1193046\r\n"
                         "[Selection]\r\nFull=1\r\nDraw_conn=0\r\nSel_conn=1\r\n[Creation]\r\n"
                         "Selection=0\r\n"));
    form.reset();
}

// Regression: while the settings file could not be written the window could not be closed at all.
// The close now asks whether to close without the options; "Нет" keeps the window open.
TEST_F(MainWindow, AnUnwritableSettingsFileAsksWhetherToCloseWithoutTheOptions) {
    TForm1& f = start(); // no config folder: every write fails
    QString question;
    const auto answer = [&question](QMessageBox::StandardButton button) {
        WhenModalShown([&question, button](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box) return;
            question = box->windowTitle() + u'|' + box->text();
            box->button(button)->click();
        });
    };
    answer(QMessageBox::No);
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(question,
              QStringLiteral("Внимание|Unable to write to %1\nНастройки не сохранены. Закрыть программу "
                             "без сохранения настроек?")
                  .arg(configPath()));
    // The settings file is a folder now: still no write, and "Да" closes.
    ASSERT_TRUE(QDir().mkpath(configPath()));
    question.clear();
    answer(QMessageBox::Yes);
    EXPECT_TRUE(f.close());
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(question.startsWith(QStringLiteral("Внимание|Unable to write to ")));
    EXPECT_TRUE(QFileInfo(configPath()).isDir());
    form.reset();
    ASSERT_TRUE(QDir(configPath()).removeRecursively());
}

struct DesktopCase {
    int scale;
    int side;
};

class DesktopSetupTest : public AppFixture, public ::testing::WithParamInterface<DesktopCase> {};

TEST_P(DesktopSetupTest, PanelSizeBackgroundAndOneDotPerGridPoint) {
    writeConfig("[Colors]\nDesktop=$FFFF00\nGrid=$0000FF\n"); // aqua desktop, red grid
    TForm1& f = start();
    const int s = GetParam().scale;
    // A wire on the surface before: the set-up paints it over and keeps the routing it came from.
    for (const bool output : {true, false}) {
        TElement e;
        e.Coord = {output ? 10 : 30, 10};
        e.CellWidth = 2;
        e.CellHeight = 2;
        e.Legs = output ? BuildLegs(QString(), QStringLiteral("1"), 2)
                        : BuildLegs(QStringLiteral("1"), QString(), 2);
        ASSERT_GT(f.model().AddElement(e), 0);
    }
    ASSERT_TRUE(f.model().AddNet({{1, 0}, {2, 0}}));
    f.Button4Click();
    const RoutingGrids routed = f.Frame21->grids();
    ASSERT_EQ(routed.WireMap.at(20, 11), WireHorizontal);
    f.Frame21->view().Scale = s;
    f.DesktopSetup();
    EXPECT_EQ(f.Frame21->grids().WireMap, routed.WireMap);
    EXPECT_EQ(f.Frame21->Panel1()->size(), QSize(GetParam().side, GetParam().side));
    const QImage& img = f.Frame21->surface();
    ASSERT_GE(img.width(), 200 * s + 1);
    const QRgb desk = qRgb(0, 255, 255), grid = qRgb(255, 0, 0);
    int dots = 0;
    for (int y = 0; y <= 200 * s; ++y)
        for (int x = 0; x <= 200 * s; ++x) {
            const bool onGrid = x % s == 0 && y % s == 0;
            const QRgb px = img.pixel(x, y);
            if (onGrid) ++dots;
            ASSERT_EQ(px, onGrid ? grid : desk) << x << "," << y;
        }
    EXPECT_EQ(dots, 201 * 201);
    // The surface sits 2 pixels in from the panel's edge.
    EXPECT_EQ(f.Frame21->Image1()->pos(), QPoint(2, 2));
}

INSTANTIATE_TEST_SUITE_P(Scales, DesktopSetupTest,
                         ::testing::Values(DesktopCase{3, 600}, DesktopCase{20, 4000}));

TEST_F(MainWindow, ToolbarStatusBarNavigatorAndLogsStartAsDescribed) {
    TForm1& f = start();
    for (QToolButton* b :
         {f.ToolButtonNew, f.ToolButtonOpen, f.ToolButtonSave, f.ToolButtonUndo, f.ToolButtonRedo,
          f.ToolButton6, f.ToolButton7, f.ToolButton8, f.ToolButton9, f.ToolButton1}) {
        EXPECT_EQ(b->size(), QSize(32, 29)) << b->objectName().toStdString();
        EXPECT_EQ(b->iconSize(), QSize(21, 21));
    }
    EXPECT_FALSE(f.ToolButtonUndo->isEnabled());
    EXPECT_FALSE(f.ToolButtonRedo->isEnabled());
    EXPECT_EQ(f.ToolButtonUndo->toolTip(), QStringLiteral("Отменить"));
    EXPECT_TRUE(f.ToolButton6->isEnabled());
    EXPECT_FALSE(f.ToolButton7->isEnabled());
    EXPECT_FALSE(f.ToolButton8->isEnabled());
    EXPECT_TRUE(f.ToolButton9->isCheckable());
    ASSERT_EQ(f.ComboBox1->count(), 18);
    EXPECT_EQ(f.ComboBox1->itemText(0), QStringLiteral("30%"));
    EXPECT_EQ(f.ComboBox1->itemText(17), QStringLiteral("200%"));
    EXPECT_EQ(f.ComboBox1->currentText(), QStringLiteral("100%"));
    EXPECT_FALSE(f.ComboBox1->isEditable());
    EXPECT_EQ(f.ComboBox1->width(), 81);
    EXPECT_EQ(f.StatusPanel->text(), QStringLiteral("Время: "));
    EXPECT_EQ(f.Memo1->toPlainText(), QStringLiteral("Memo1"));
    EXPECT_EQ(f.Memo2->toPlainText(), QStringLiteral("Memo2"));
    EXPECT_EQ(f.NavPanel->Label1->text(), QStringLiteral("Label1"));
    EXPECT_EQ(f.NavPanel->width(), 150);
    EXPECT_EQ(f.NavPanel->NavigatorTitle->text(), QStringLiteral("Навигатор"));
    EXPECT_TRUE(f.NavPanel->TreeView1->font().bold());
    EXPECT_EQ(f.Frame21->view().Scale, 10);
    EXPECT_EQ(f.Frame21->view().HoverNet, -1);
    EXPECT_EQ(form->Frame21->grids().NetMap.at(100, 100), -1);
}

TEST_F(MainWindow, NavigatorTitleNarrowsThePanelAndTheArrowWidensIt) {
    TForm1& f = start();
    // Each one-pixel step reaches the screen before the next: 135 resizes each way.
    struct Widths : QObject {
        std::vector<int> seen;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Resize) seen.push_back(static_cast<QWidget*>(o)->width());
            return false;
        }
    } widths;
    f.NavPanel->installEventFilter(&widths);
    QTest::mouseClick(f.NavPanel->NavigatorTitle, Qt::LeftButton);
    ASSERT_EQ(widths.seen.size(), 135u);
    EXPECT_EQ(widths.seen.front(), 149);
    EXPECT_EQ(widths.seen.back(), 15);
    EXPECT_EQ(f.NavPanel->width(), 15);
    EXPECT_TRUE(f.NavPanel->ExpandButton->isVisible());
    EXPECT_EQ(f.NavPanel->ExpandButton->text(), QStringLiteral(">"));
    widths.seen.clear();
    QTest::mouseClick(f.NavPanel->ExpandButton, Qt::LeftButton);
    EXPECT_EQ(widths.seen.size(), 135u);
    EXPECT_EQ(f.NavPanel->width(), 150);
    EXPECT_FALSE(f.NavPanel->ExpandButton->isVisible());
}

TEST_F(MainWindow, AddButtonPopsUpTheAddMenuBelowItsMiddle) {
    TForm1& f = start();
    f.move(30, 40);
    const QPoint b = f.NavPanel->Button2->mapTo(&f, QPoint(0, 0));
    const QPoint expected(f.geometry().left() + b.x() + f.NavPanel->Button2->width() / 2,
                          f.geometry().top() + b.y() + f.NavPanel->Button2->height() + 24);
    EXPECT_EQ(f.NavPanel->AddMenuPoint(), expected);
    QTest::mouseClick(f.NavPanel->Button2, Qt::LeftButton);
    ASSERT_TRUE(f.NavPanel->PopupAdd->isVisible());
    EXPECT_EQ(f.NavPanel->PopupAdd->pos(), expected);
    QStringList items;
    for (QAction* a : f.NavPanel->PopupAdd->actions())
        items << a->text();
    EXPECT_EQ(items, QStringList({QStringLiteral("Микросхема..."), QStringLiteral("Специальный элемент")}));
    QStringList special;
    for (QAction* a : f.NavPanel->PopupAdd->actions()[1]->menu()->actions())
        special << a->text();
    EXPECT_EQ(special, QStringList({QStringLiteral("Индикатор"), QStringLiteral("Переключатель"),
                                    QStringLiteral("Генератор"), QStringLiteral("Осциллограф")}));
    f.NavPanel->PopupAdd->hide();
}

TEST_F(MainWindow, AFullElementTableRefusesWithAMessageBeforeTakingASlot) {
    TForm1& f = start();
    for (int i = 0; i < MaxElements; ++i)
        ASSERT_NE(f.AddElementOrWarn(TElement{}), 0);
    AcceptNextMessageBox();
    EXPECT_EQ(f.AddElementOrWarn(TElement{}), 0);
    EXPECT_EQ(f.model().ElementCount(), MaxElements);
    EXPECT_EQ(LastMessageBoxTitle(), QStringLiteral("Внимание"));
    EXPECT_TRUE(LastMessageBoxText().contains(QStringLiteral("1000")));
}

TEST_F(MainWindow, SettingsItemOpensTheSettingsDialogModally) {
    TForm1& f = start();
    bool wasModal = false;
    WhenModalShown([&wasModal, &f](QWidget* w) {
        wasModal = w == f.CreatedWindows[1];
        w->close();
    });
    f.ActSettings->trigger();
    EXPECT_TRUE(wasModal);
}

} // namespace
