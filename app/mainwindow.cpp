// SPDX-License-Identifier: MIT
#include "app/mainwindow.h"

#include "app/icons.h"
#include "app/navigatorpanel.h"
#include "app/optionsfile.h"
#include "app/settingsdialog.h"
#include "catalogue/addchipdialog.h"
#include "catalogue/chipsearchdialog.h"
#include "catalogue/chipswindow.h"
#include "catalogue/elementchooser.h"
#include "catalogue/elementnamedialog.h"
#include "catalogue/elementswindow.h"
#include "catalogue/markingdialog.h"
#include "catalogue/picturechooser.h"
#include "catalogue/picturenamedialog.h"
#include "catalogue/pictureswindow.h"
#include "editor/elementpicture.h"
#include "editor/surface.h"
#include "editor/workspaceframe.h"
#include "sim/generatordialog.h"
#include "sim/oscilloscopewindow.h"
#include "sim/timescaledialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QThread>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

TForm1::TForm1(const QString& programDir, QWidget* parent)
    : QMainWindow(parent),
      programDir_(programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir),
      document_(std::make_unique<SchematicDocument>()) {
    setObjectName(QStringLiteral("Form1"));
    // The caption marks a schematic with unsaved changes.
    setWindowTitle(QStringLiteral("Zivuvazodi Tarnwell v0.99[*]"));
    setMinimumSize(640, 480);
    document_->setPlacementSource([this](const QStandardItem* node, TPlacementData* data, QString* error) {
        return PlacementFor(node, data, error);
    });

    BuildMenu();
    BuildToolbar();
    ConnectFiles();

    auto* central = new QWidget;
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    NavPanel = new NavigatorPanel(model().navigatorModel(), central);
    connect(NavPanel->PopupChip, &QAction::triggered, this, &TForm1::ShowModal<TForm13>);
    ConnectNavigator();
    row->addWidget(NavPanel);
    NavHandle = new NavigatorHandle(*NavPanel, NavigatorWidthMin, NavigatorWidthMax, central);
    row->addWidget(NavHandle);

    auto* right = new QSplitter(Qt::Vertical);
    Frame21 = new TFrame2(*document_, options_);
    ConnectWorkspace();
    ConnectWiring();
    ConnectSpecialElements();
    ConnectKeys();
    right->addWidget(Frame21);
    auto* logs = new QSplitter(Qt::Horizontal);
    Memo1 = new QPlainTextEdit(QStringLiteral("Memo1"));
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo2 = new QPlainTextEdit(QStringLiteral("Memo2"));
    Memo2->setObjectName(QStringLiteral("Memo2"));
    for (QPlainTextEdit* memo : {Memo1, Memo2}) {
        memo->setReadOnly(true);
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        logs->addWidget(memo);
    }
    right->addWidget(logs);
    right->setStretchFactor(0, 1);
    right->setStretchFactor(1, 0);
    right->setSizes({600, 70});
    row->addWidget(right, 1);
    setCentralWidget(central);

    StatusPanel = new QLabel(tr("Время: "));
    StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
    StatusPanel->setMinimumWidth(50);
    statusBar()->addWidget(StatusPanel);

    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    run_ = new SimulationRun(document_->simulator(), this);
    run_->waitMs = [this] {
        const auto* timeScale = window<TForm15>();
        return timeScale ? timeScale->Position() : 100;
    };
    run_->beforeUnit = [this] { StatusPanel->setText(tr("Время: ") + QString::number(simulator().SimTime)); };
    run_->afterUnit = [this] {
        const auto* scope = window<TForm17>();
        if (model().OscCount() > 0 && scope && scope->isVisible()) RedrawOscilloscope();
    };
    connect(run_, &SimulationRun::runningChanged, this, &TForm1::ShowRunState);
    connect(document_.get(), &SchematicDocument::changed, this, &TForm1::DocumentChanged);
    connect(document_.get(), &SchematicDocument::modifiedChanged, this, &QWidget::setWindowModified);
    connect(document_.get(), &SchematicDocument::historyChanged, this, &TForm1::UpdateUndoActions);
    UpdateUndoActions();
}

void TForm1::CreateWindows() {
    CreatedWindows = {this};
    auto add = [this](QWidget* w) {
        w->hide();
        CreatedWindows << w;
        windows_.add(w);
    };
    add(new TForm4(this));
    add(new TForm6(catalogueUi(), this));
    add(new TForm7(catalogueUi(), this));
    add(new TForm8(catalogueUi(), this));
    add(new TForm5(catalogueUi(), this));
    add(new TForm9(catalogueUi(), this));
    add(new TForm10(catalogueUi(), this));
    add(new TForm11(catalogueUi(), this));
    add(new TForm12(catalogueUi(), this));
    add(new TForm13(catalogueUi(), this));
    add(new TForm14(catalogueUi(), this));
    auto* timeScale = new TForm15(this, Frame21);
    add(timeScale);
    connect(timeScale, &TForm15::closed, ToolButton9, [this] { ToolButton9->setChecked(false); });
    add(new TForm16(this));
    add(new TForm17(model(), simulator(), this));
}

void TForm1::BuildMenu() {
    QMenuBar* bar = menuBar();
    auto item = [](QMenu* menu, const QString& text) { return menu->addAction(text); };

    MenuFile = bar->addMenu(tr("&Файл"));
    ActNew = item(MenuFile, tr("Новый"));
    ActNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    ActOpen = item(MenuFile, tr("Открыть..."));
    ActOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    ActSave = item(MenuFile, tr("Сохранить"));
    ActSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    ActSaveAs = item(MenuFile, tr("Сохранить как..."));
    MenuFile->addSeparator();
    ActExport = item(MenuFile, tr("Экспорт..."));
    ActPrint = item(MenuFile, tr("Печать..."));
    ActPrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    MenuFile->addSeparator();
    ActSettings = item(MenuFile, tr("Настройки..."));
    MenuFile->addSeparator();
    ActExit = item(MenuFile, tr("Выход"));
    ActExit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));

    MenuEdit = bar->addMenu(tr("&Правка"));
    ActUndo = item(MenuEdit, tr("Отменить"));
    ActUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    ActRedo = item(MenuEdit, tr("Повторить"));
    ActRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    MenuEdit->addSeparator();
    ActCut = item(MenuEdit, tr("Вырезать"));
    ActCut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    ActCopy = item(MenuEdit, tr("Копировать"));
    ActCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    ActPaste = item(MenuEdit, tr("Вставить"));
    ActPaste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    MenuEdit->addSeparator();
    ActSelectAll = item(MenuEdit, tr("Выделить все"));
    ActDeselect = item(MenuEdit, tr("Снять выделение"));
    ActInvert = item(MenuEdit, tr("Инвертировать выделение"));

    MenuScheme = bar->addMenu(tr("&Схема"));
    ActAddChip = item(MenuScheme, tr("Добавить микросхему..."));
    MenuSpecial = MenuScheme->addMenu(tr("Добавить &специальный элемент"));
    ActAddIndicator = item(MenuSpecial, tr("Индикатор"));
    ActAddSwitch = item(MenuSpecial, tr("Переключатель"));
    ActDeleteSelected = item(MenuScheme, tr("Удалить выделенные элементы"));
    MenuScheme->addSeparator();
    ActOscilloscopes = item(MenuScheme, tr("Осцилографы"));
    ActSchemeControl = item(MenuScheme, tr("Управление схемой..."));

    MenuBases = bar->addMenu(tr("&Базы данных"));
    ActPictures = item(MenuBases, tr("Изображения элементов..."));
    ActElements = item(MenuBases, tr("Елементы..."));
    ActChipPictures = item(MenuBases, tr("Изображения микросхем..."));
    ActChipPictures->setEnabled(false);
    ActChips = item(MenuBases, tr("Микросхемы..."));

    connect(ActSettings, &QAction::triggered, this, [this] { ShowModal<TForm4>(); });
    connect(ActExit, &QAction::triggered, this, &QWidget::close);
    connect(ActUndo, &QAction::triggered, this, &TForm1::UndoClick);
    connect(ActRedo, &QAction::triggered, this, &TForm1::RedoClick);
    connect(ActCut, &QAction::triggered, this, &TForm1::CutClick);
    connect(ActCopy, &QAction::triggered, this, &TForm1::CopyClick);
    connect(ActPaste, &QAction::triggered, this, &TForm1::PasteClick);
    connect(ActSelectAll, &QAction::triggered, this, &TForm1::N3Click);
    connect(ActDeselect, &QAction::triggered, this, &TForm1::N4Click);
    connect(ActInvert, &QAction::triggered, this, &TForm1::N5Click);
    connect(ActDeleteSelected, &QAction::triggered, this, &TForm1::N7Click);
    connect(ActAddChip, &QAction::triggered, this, &TForm1::ShowModal<TForm13>);
    connect(ActOscilloscopes, &QAction::triggered, this, &TForm1::N15Click);
    connect(ActPictures, &QAction::triggered, this, &TForm1::ShowModal<TForm5>);
    connect(ActElements, &QAction::triggered, this, &TForm1::ShowModal<TForm7>);
    connect(ActChips, &QAction::triggered, this, &TForm1::ShowModal<TForm10>);
}

void TForm1::BuildToolbar() {
    QToolBar* bar = addToolBar(tr("Панель инструментов"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(21, 21));
    auto button = [bar](int image, const char* name, const QString& tip) {
        auto* b = new QToolButton;
        b->setObjectName(QString::fromUtf8(name));
        b->setIcon(QIcon(QPixmap::fromImage(ToolbarImage(image))));
        b->setIconSize(QSize(21, 21));
        b->setFixedSize(32, 29);
        b->setAutoRaise(true);
        b->setToolTip(tip);
        bar->addWidget(b);
        return b;
    };
    ToolButtonNew = button(3, "ToolButtonNew", tr("Новый"));
    ToolButtonOpen = button(4, "ToolButtonOpen", tr("Открыть"));
    ToolButtonSave = button(5, "ToolButtonSave", tr("Сохранить как"));
    const auto gap = [bar] {
        auto* space = new QWidget;
        space->setFixedWidth(12);
        bar->addWidget(space);
    };
    gap();
    ToolButtonUndo = button(8, "ToolButtonUndo", tr("Отменить"));
    ToolButtonRedo = button(9, "ToolButtonRedo", tr("Повторить"));
    gap();
    ToolButton6 = button(0, "ToolButton6", tr("Пуск"));
    ToolButton7 = button(1, "ToolButton7", tr("Стоп"));
    ToolButton7->setEnabled(false);
    ToolButton8 = button(2, "ToolButton8", tr("Пауза"));
    ToolButton8->setEnabled(false);
    ToolButton8->setCheckable(true);
    ComboBox1 = new QComboBox;
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setFixedWidth(81);
    ComboBox1->setEditable(false);
    for (int pct = 30; pct <= 200; pct += 10)
        ComboBox1->addItem(QStringLiteral("%1%").arg(pct));
    ComboBox1->setCurrentIndex(7);
    bar->addWidget(ComboBox1);
    ToolButton9 = button(6, "ToolButton9", tr("Масштаб времени"));
    ToolButton9->setCheckable(true);
    ToolButton1 = button(7, "ToolButton1", tr("Осциллографы"));

    // Under the toolbar, never shown: the template picture of the element handlers and "Destroy".
    Image1 = new ElementPicture(bar);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->hide();
    DestroyButton = new QPushButton(QStringLiteral("Destroy"), bar);
    DestroyButton->setObjectName(QStringLiteral("DestroyButton"));
    DestroyButton->hide();
    connect(DestroyButton, &QPushButton::clicked, this, &TForm1::Button2Click);

    connect(ToolButtonUndo, &QToolButton::clicked, this, &TForm1::UndoClick);
    connect(ToolButtonRedo, &QToolButton::clicked, this, &TForm1::RedoClick);
    connect(ToolButton6, &QToolButton::clicked, this, &TForm1::ToolButton6Click);
    connect(ToolButton7, &QToolButton::clicked, this, &TForm1::ToolButton7Click);
    connect(ToolButton8, &QToolButton::clicked, this, &TForm1::ToolButton8Click);
    connect(ToolButton9, &QToolButton::clicked, this, &TForm1::ToolButton9Click);
    connect(ToolButton1, &QToolButton::clicked, ActOscilloscopes, &QAction::trigger);
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TForm1::ComboBox1Change);
}

void TForm1::InitCfg() {
    Config = std::make_unique<IniFile>(QDir(programDir_).filePath(QStringLiteral("config/main.ini")));
    ReadOptions(*Config, options_);
    NavPanel->SetOpenWidth(ReadNavigatorWidth(*Config));
    languageChoice_ = ReadLanguage(*Config);
    if (ReadLockBases(*Config)) {
        for (QAction* a : {ActPictures, ActElements, ActChipPictures, ActChips})
            a->setEnabled(false);
    }
}

IniFile& TForm1::ConfigFile() {
    if (!Config)
        Config = std::make_unique<IniFile>(QDir(programDir_).filePath(QStringLiteral("config/main.ini")));
    return *Config;
}

bool TForm1::SaveCfg() {
    QString error;
    const bool ok = WriteOptions(ConfigFile(), options_, &error) &&
                    WriteNavigatorWidth(ConfigFile(), NavPanel->openWidth(), &error) &&
                    WriteLanguage(ConfigFile(), languageChoice_, &error);
    if (!ok) QMessageBox::critical(this, QStringLiteral("Tarnwell"), error);
    return ok;
}

bool TForm1::SaveCfgOnClose() {
    QString error;
    if (WriteOptions(ConfigFile(), options_, &error) &&
        WriteNavigatorWidth(ConfigFile(), NavPanel->openWidth(), &error) &&
        WriteLanguage(ConfigFile(), languageChoice_, &error))
        return true;
    return QMessageBox::question(this, tr("Внимание"),
                                 error + u'\n' +
                                     tr("Настройки не сохранены. Закрыть программу без сохранения настроек?"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void TForm1::DesktopSetup() {
    Frame21->DesktopSetup();
}

int TForm1::AddElementOrWarn(TElement e) {
    const int index = model().AddElement(std::move(e));
    if (index == 0) WarnTableFull();
    return index;
}

void TForm1::WarnTableFull() {
    QMessageBox::warning(this, tr("Внимание"),
                         tr("В схеме уже %1 элементов: больше разместить нельзя.").arg(MaxElements));
}

void TForm1::FormShow() {
    InitCfg();
    DesktopSetup();
}

void TForm1::FormActivate() {
    // From the first activation on the window is freely movable and resizable.
    fillWorkArea_ = false;
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    FormShow();
}

void TForm1::FillWorkArea(const QRect& area) {
    workArea_ = area;
    FitFrameToWorkArea();
}

void TForm1::FitFrameToWorkArea() {
    if (!fillWorkArea_ || workArea_.isNull()) return;
    const QRect frame = frameGeometry(), inner = geometry();
    const QRect fitted = workArea_.adjusted(inner.left() - frame.left(), inner.top() - frame.top(),
                                            inner.right() - frame.right(), inner.bottom() - frame.bottom());
    if (fitted != inner) setGeometry(fitted);
}

bool TForm1::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize || event->type() == QEvent::Show)
        FitFrameToWorkArea();
    return QMainWindow::event(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!MayDiscardChanges()) {
        event->ignore();
        return;
    }
    if (!SaveCfgOnClose()) {
        event->ignore();
        return;
    }
    RequestSimulationStop();
    event->accept();
}

CatalogueUi& TForm1::catalogueUi() {
    if (!catalogueUi_)
        catalogueUi_ = std::make_unique<CatalogueUi>(
            QDir(programDir()).filePath(QStringLiteral("bases")),
            [this](const QString& mark, int elements) { document_->ListChip(mark, elements); }, &windows_);
    return *catalogueUi_;
}
