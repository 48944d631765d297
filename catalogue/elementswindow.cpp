// SPDX-License-Identifier: MIT
#include "catalogue/elementswindow.h"

#include "catalogue/cataloguetable.h"
#include "catalogue/catalogueui.h"
#include "catalogue/cursorgrid.h"
#include "catalogue/elementnamedialog.h"
#include "catalogue/fields.h"
#include "catalogue/picturechooser.h"
#include "catalogue/pictureswindow.h"
#include "ui/picturescale.h"
#include "ui/whitepanel.h"
#include "ui/windowregistry.h"

#include <QDataWidgetMapper>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace {

// Limits typing in a define box to the picture's pin rows. A longer stored string is kept whole and
// may be shortened, so reading a record never changes it. Keys that type nothing printable
// (backspace, delete) and shortcuts (select all, undo) always pass, so a box can be emptied at any
// limit.
class DefineValidator : public QObject {
public:
    DefineValidator(QObject* parent, const int& limit) : QObject(parent), limit_(limit) {}
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        auto* edit = qobject_cast<QLineEdit*>(watched);
        const auto* key = static_cast<QKeyEvent*>(e);
        const QString text = key->text();
        if (!edit || text.isEmpty() || !text.at(0).isPrint()) return false;
        if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
        return edit->text().size() - edit->selectedText().size() + text.size() > limit_;
    }

private:
    const int& limit_;
};

// Keeps Up/Down key releases in the grid as a prompt to find the element's picture.
class KeyReleaseFilter : public QObject {
public:
    KeyReleaseFilter(QObject* parent, std::function<void()> action)
        : QObject(parent), action_(std::move(action)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::KeyRelease) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) action_();
        }
        return false;
    }

private:
    std::function<void()> action_;
};

} // namespace

TForm7::TForm7(CatalogueUi& ui, QWidget* parent)
    : CatalogueEditor(ui, ui.catalogue().elements(),
                      {tr("Внимание"), tr("Вы действительно хотите удалить текущий элемент")}, parent) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(tr("База данных с элементами"));
    ui_.add(this);
    Catalogue& cat = ui_.catalogue();
    connect(&table_, &CatalogueTable::afterScroll, this, [this] {
        if (ui_.windows().get<TForm5>()) DrawLegs();
    });
    connect(&cat.pictures(), &CatalogueTable::afterScroll, this, &TForm7::PicturesScrolled);
    const QString error = cat.openElements();

    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);
    auto* row = new QHBoxLayout;
    DBGrid1 = new CursorGrid(table_, {{ElementField::Name, tr("Название элемента")}}, true);
    DBGrid1->setFixedSize(200, 330);
    row->addWidget(DBGrid1);

    PageControl1 = new QTabWidget;
    auto* page1 = new QWidget;
    auto* p1 = new QVBoxLayout(page1);
    auto* legs = new QGroupBox(tr("Входы - Выходы"));
    auto* legsLayout = new QVBoxLayout(legs);
    legsLayout->addWidget(new QLabel(tr("Идентификатор входов")));
    DBEdit1 = new QLineEdit;
    legsLayout->addWidget(DBEdit1);
    legsLayout->addWidget(new QLabel(tr("Идентификатор выходов")));
    DBEdit2 = new QLineEdit;
    legsLayout->addWidget(DBEdit2);
    NoPinsLabel = new QLabel(tr("Изображение не допускает выводов"));
    NoPinsLabel->hide();
    legsLayout->addWidget(NoPinsLabel);
    p1->addWidget(legs);
    auto* picture = new QGroupBox(tr("Картинка"));
    auto* pictureLayout = new QHBoxLayout(picture);
    pictureLayout->addWidget(new QLabel(tr("Идентификатор")));
    DBEdit3 = new QLineEdit;
    pictureLayout->addWidget(DBEdit3);
    Button4 = new QPushButton(tr("Выбрать из базы..."));
    pictureLayout->addWidget(Button4);
    p1->addWidget(picture);
    auto* look = new QGroupBox(tr("Внешний вид"));
    auto* lookLayout = new QVBoxLayout(look);
    Image1 = new QLabel;
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setFixedSize(300, 130);
    MakeWhitePanel(Image1);
    lookLayout->addWidget(Image1, 0, Qt::AlignCenter);
    p1->addWidget(look);
    PageControl1->addTab(page1, tr("Внешний вид"));

    auto* page2 = new QWidget;
    auto* p2 = new QVBoxLayout(page2);
    auto* scriptBox = new QGroupBox(tr("Текст скрипта"));
    auto* scriptLayout = new QVBoxLayout(scriptBox);
    DBMemo1 = new QPlainTextEdit;
    scriptLayout->addWidget(DBMemo1);
    Button5 = new QPushButton(tr("Сохранить в базе"));
    scriptLayout->addWidget(Button5, 0, Qt::AlignRight);
    p2->addWidget(scriptBox);
    PageControl1->addTab(page2, tr("Скрипт"));
    row->addWidget(PageControl1);
    top->addLayout(row);

    AddRecordButtons(top, &Button1, &Button2, &Button3);
    for (QPushButton* b : {Button3, Button4, Button5})
        b->setAutoDefault(false);

    auto* validator = new DefineValidator(this, defineLimit_);
    DBEdit1->installEventFilter(validator);
    DBEdit2->installEventFilter(validator);

    Mapper = CatalogueUi::BindMapper(table_, this,
                                     {{DBEdit1, ElementField::IntDefine, "text"},
                                      {DBEdit2, ElementField::ExtDefine, "text"},
                                      {DBEdit3, ElementField::ImageName, "text"},
                                      {DBMemo1, ElementField::Script, "plainText"}});

    connect(DBEdit1, &QLineEdit::textChanged, this, &TForm7::DrawLegs);
    connect(DBEdit2, &QLineEdit::textChanged, this, &TForm7::DrawLegs);
    connect(DBGrid1, &QAbstractItemView::clicked, this, [this] { ui_.catalogue().FindPicture(); });
    DBGrid1->installEventFilter(new KeyReleaseFilter(this, [this] { ui_.catalogue().FindPicture(); }));
    connect(Button3, &QPushButton::clicked, this, &TForm7::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm7::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm7::Button5Click);
    CatalogueUi::ShowError(parentWidget(), error);
}

bool TForm7::event(QEvent* e) {
    const bool r = QDialog::event(e);
    if (e->type() == QEvent::WindowActivate) {
        ui_.catalogue().FindPicture();
        DrawLegs();
    }
    return r;
}

void TForm7::DrawLegs() {
    if (ui_.windows().get<TForm5>()) {
        CatalogueTable& pictures = ui_.catalogue().pictures();
        Preview = QImage::fromData(pictures.value(PictureField::Image).toByteArray())
                      .convertToFormat(QImage::Format_RGB32);
    }
    if (!Preview.isNull()) {
        QPainter p(&Preview);
        p.setPen(Qt::red);
        p.setBrush(Qt::white);
        const int w = Preview.width();
        auto mark = [&p](int x1, int y1, int x2, int y2) {
            p.drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
        };
        const QString in = DBEdit1->text();
        const QString out = DBEdit2->text();
        for (int i = 1; i <= in.size(); ++i)
            if (in.at(i - 1) == QLatin1Char('1')) mark(0, 10 * i - 3, 5, 10 * i + 3);
        for (int i = 1; i <= out.size(); ++i)
            if (out.at(i - 1) == QLatin1Char('1')) mark(w - 6, 10 * i - 3, w, 10 * i + 3);
    }
    // Shown at a whole multiple of its size that fits the panel, so the pin marks stay readable.
    Image1->setPixmap(QPixmap::fromImage(Preview.scaled(WholeFactorSize(Preview.size(), Image1->size()))));
}

void TForm7::PicturesScrolled() {
    if (!ui_.windows().get<TForm5>()) return;
    DrawLegs();
    // An undecodable picture has height 0; either way a box limited below zero would refuse even
    // the keys that shorten it, so the limit stops at "no pins".
    defineLimit_ = std::max(0, Preview.height() / 10 - 1);
    NoPinsLabel->setVisible(defineLimit_ == 0);
}

QDialog* TForm7::addDialog() const {
    return ui_.windows().get<TForm9>();
}

void TForm7::Button3Click() {
    CloseAndStore();
}

void TForm7::Button4Click() {
    if (TForm8* chooser = ui_.windows().get<TForm8>()) chooser->exec();
}

void TForm7::Button5Click() {
    Mapper->submit();
    CatalogueUi::ShowPostError(this, table_, table_.post());
}
