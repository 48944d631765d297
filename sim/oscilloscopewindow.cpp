// SPDX-License-Identifier: MIT
#include "sim/oscilloscopewindow.h"

#include "sim/oscilloscopeframe.h"
#include "sim/probetrace.h"
#include "sim/traceexport.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

// The window's inside as laid out; the three boxes keep their distances to every edge.
constexpr QSize DesignSize(606, 347);
constexpr QRect ListRect(6, 8, 149, 331);
constexpr QRect GroupRect(163, 4, 437, 336);
constexpr QRect FrameRect(8, 17, 420, 311);

QRect Stretched(QRect r, QSize by) {
    return r.adjusted(0, 0, by.width(), by.height());
}

// The scroll bars' range while there is something to scroll back to is at most this many steps.
constexpr int MaxScrollSteps = 1'000'000'000;

// The "Масштаб" text of a zoom: 10 for one unit per pixel, 1 for ten, 0.1 for a hundred.
QString ZoomText(TSimTime unitsPerPixel) {
    return QString::number(10.0 / static_cast<double>(unitsPerPixel), 'g', 6);
}

} // namespace

const std::array<TSimTime, 13> TForm17::ZoomLevels = {1,   2,   5,    10,   20,   50,   100,
                                                      200, 500, 1000, 2000, 5000, 10000};

TForm17::TForm17(const Schematic& model, Simulator& simulator, QWidget* parent)
    : QDialog(parent), model_(model), sim_(simulator) {
    setObjectName(QStringLiteral("Form17"));
    setWindowTitle(tr("Осциллографы"));
    // Kept above its parent, the main window, as a window of the program; not above every window,
    // which would hide the modal dialogs (the save dialog's file list) under it.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);

    CheckListBox1 = new QListWidget(this);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    GroupBox1 = new QGroupBox(tr("Показания осциллографов"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Frame181 = new TFrame18(GroupBox1);
    Button2 = new QPushButton(QStringLiteral("Button2"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->hide();

    // The readout lies over the foot of the channel list, which holds five lines at most.
    Readout = new QLabel(CheckListBox1);
    Readout->setObjectName(QStringLiteral("Readout"));
    Readout->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    Readout->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont small = Readout->font();
    small.setPixelSize(11);
    Readout->setFont(small);
    FollowButton = new QToolButton(GroupBox1);
    FollowButton->setObjectName(QStringLiteral("FollowButton"));
    FollowButton->setText(QStringLiteral("»|"));
    FollowButton->setToolTip(tr("Следить за работой схемы"));
    ActFollow = new QAction(tr("Следить за работой схемы"), this);
    ActWholeHistory = new QAction(tr("Записывать всю историю"), this);
    ActWholeHistory->setCheckable(true);
    ActSaveTraces = new QAction(tr("Сохранить трассы..."), this);
    ActSaveTraces->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addAction(ActSaveTraces);
    connect(FollowButton, &QToolButton::clicked, this, &TForm17::FollowRun);
    connect(ActFollow, &QAction::triggered, this, &TForm17::FollowRun);
    connect(ActSaveTraces, &QAction::triggered, this, &TForm17::SaveTracesAs);
    connect(ActWholeHistory, &QAction::toggled, this, [this](bool on) {
        sim_.Recording = on ? ProbeRecording::Whole : ProbeRecording::Visible;
        ShowViewState();
    });
    GroupBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(GroupBox1, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        QMenu menu(this);
        menu.addAction(ActWholeHistory);
        menu.addAction(ActSaveTraces);
        menu.addSeparator();
        menu.addAction(ActFollow);
        menu.addAction(tr("Убрать курсоры"), this, [this] {
            cursorA_.reset();
            cursorB_.reset();
            Button2Click();
        });
        menu.exec(GroupBox1->mapToGlobal(at));
    });
    for (int c = 1; c <= 5; ++c) {
        const ChannelPanel& ch = Frame181->channel(c);
        ch.Image->installEventFilter(this);
        // The frame's panels lie under the group: their context menu is the group's.
        ch.Panel->setContextMenuPolicy(Qt::NoContextMenu);
        connect(ch.ScaleEdit, &QLineEdit::editingFinished, this, [this, edit = ch.ScaleEdit] {
            if (syncing_) return;
            bool ok = false;
            const double zoom = edit->text().replace(u',', u'.').toDouble(&ok);
            if (!ok || !(zoom > 0)) {
                edit->setText(ZoomText(unitsPerPixel_));
                return;
            }
            // The nearest level on a logarithmic scale.
            const double units = 10.0 / zoom;
            const auto nearest =
                std::min_element(ZoomLevels.begin(), ZoomLevels.end(), [&](TSimTime a, TSimTime b) {
                    return std::abs(std::log(static_cast<double>(a) / units)) <
                           std::abs(std::log(static_cast<double>(b) / units));
                });
            SetUnitsPerPixel(*nearest);
            edit->setText(ZoomText(unitsPerPixel_));
        });
        connect(ch.ScrollBar, &QScrollBar::valueChanged, this, [this, bar = ch.ScrollBar](int value) {
            if (syncing_) return;
            if (value >= bar->maximum()) {
                FollowRun();
                return;
            }
            const TSimTime lo = EarliestViewEnd(), hi = LatestUnit();
            ScrollTo(lo + static_cast<TSimTime>(static_cast<long double>(hi - lo) * value / bar->maximum()));
        });
        connect(ch.OnBox, &QCheckBox::toggled, this, &TForm17::Button2Click);
    }

    resize(614, 374);
    LayOutBoxes();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(614 / 2, 374 / 2));

    connect(CheckListBox1, &QListWidget::itemChanged, this, [this] {
        if (!laying_) CheckListBox1ClickCheck();
    });
    connect(Button2, &QPushButton::clicked, this, &TForm17::Button2Click);
    connect(&model_, &Schematic::channelsChanged, this, &TForm17::FollowChannels);
    connect(&model_, &Schematic::elementsRemoved, this, &TForm17::FollowChannels);
}

void TForm17::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayOutBoxes();
}

void TForm17::LayOutBoxes() {
    const QSize by = size() - DesignSize;
    CheckListBox1->setGeometry(Stretched(ListRect, by));
    GroupBox1->setGeometry(Stretched(GroupRect, by));
    Frame181->setGeometry(Stretched(FrameRect, by));
    // The follow button at the right end of the group's title row, the readout at the foot of
    // the list.
    FollowButton->setGeometry(GroupBox1->width() - 30, 0, 24, 17);
    const QSize list = CheckListBox1->size();
    const int readout = std::min(list.height() - 8, 5 * Readout->fontMetrics().lineSpacing() + 2);
    Readout->setGeometry(5, list.height() - 4 - std::max(0, readout), list.width() - 10,
                         std::max(0, readout));
}

int TForm17::OuterHeight() const {
    return frameGeometry().height();
}

QSize TForm17::FrameExtra() const {
    return frameGeometry().size() - size();
}

void TForm17::SetOuterHeight(int height) {
    frameUsed_ = FrameExtra();
    resize(width(), std::max(1, height - frameUsed_.height()));
}

void TForm17::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The frame's size is known once the window is on screen: an outer size set before keeps.
    const QSize extra = FrameExtra();
    if (extra != frameUsed_) {
        resize((size() + frameUsed_ - extra).expandedTo(QSize(1, 1)));
        frameUsed_ = extra;
    }
}

void TForm17::RefreshProbeList() {
    for (int c = 1; c <= 5; ++c)
        Frame181->HidePanel(c);
    laying_ = true;
    CheckListBox1->clear();
    for (int i = 1; i <= model_.OscCount(); ++i) {
        auto* item = new QListWidgetItem(tr("Осциллограф%1").arg(i), CheckListBox1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    laying_ = false;
    CheckListBox1ClickCheck();
}

void TForm17::CheckListBox1ClickCheck() {
    laying_ = true;
    for (int i = 0; i < CheckListBox1->count(); ++i) {
        QListWidgetItem* item = CheckListBox1->item(i);
        const bool probe = i < 5 && model_.OscChannel(i + 1) != 0;
        if (item->checkState() == Qt::Checked && !probe) item->setCheckState(Qt::Unchecked);
    }
    laying_ = false;
    int top = 0;
    for (int c = 1; c <= std::min(model_.OscCount(), 5); ++c) {
        const QListWidgetItem* item = CheckListBox1->item(c - 1);
        if (item && item->checkState() == Qt::Checked) {
            Frame181->ShowPanel(c, top);
            top += TFrame18::PanelHeight;
        } else {
            Frame181->HidePanel(c);
        }
    }
    if (top != 0) SetOuterHeight(top + 65);
}

void TForm17::Button2Click() {
    const TSimTime end = ViewEnd();
    for (int c = 1; c <= 5; ++c) {
        if (!Frame181->PanelShown(c)) continue;
        const ChannelPanel& ch = Frame181->channel(c);
        QImage& image = ch.Image->image();
        const int p = model_.OscChannel(c);
        if (p >= 1 && p <= model_.ElementCount() && ch.OnBox->isChecked()) {
            const TElement& probe = model_.element(p);
            DrawTraceView(image, probe.Transitions, probe.LevelBefore, end, unitsPerPixel_);
        } else {
            image.fill(Qt::white);
        }
        for (const auto& [cursor, rgb] :
             {std::pair{cursorB_, CursorBColor}, std::pair{cursorA_, CursorAColor}}) {
            if (!cursor || *cursor > end) continue;
            const TSimTime x = image.width() - 1 - (end - *cursor) / unitsPerPixel_;
            if (x >= 0)
                DrawTraceLine(image, static_cast<int>(x), 0, static_cast<int>(x), image.height() - 1, rgb);
        }
        ch.Image->update();
    }
    ShowViewState();
}

TSimTime TForm17::LatestUnit() const {
    return std::max<TSimTime>(0, sim_.SimTime);
}

TSimTime TForm17::EarliestViewEnd() const {
    std::vector<TraceRecord> records;
    for (const auto& [c, probe] : DrawnChannels())
        records.push_back(ProbeRecord(*probe));
    // The record's first unit is the point left of the first column: its level is known there.
    const TSimTime earliest = RecordStart(records) + static_cast<TSimTime>(TraceWidth) * unitsPerPixel_;
    return std::min(earliest, LatestUnit());
}

TSimTime TForm17::ViewEnd() const {
    return following_ ? LatestUnit() : std::clamp(viewEnd_, EarliestViewEnd(), LatestUnit());
}

void TForm17::ScrollTo(TSimTime viewEnd) {
    following_ = false;
    viewEnd_ = viewEnd;
    Button2Click();
}

void TForm17::FollowRun() {
    following_ = true;
    Button2Click();
}

void TForm17::SetUnitsPerPixel(TSimTime units) {
    unitsPerPixel_ = std::clamp(units, ZoomLevels.front(), ZoomLevels.back());
    Button2Click();
}

void TForm17::StepZoom(int direction) {
    const auto at = std::find(ZoomLevels.begin(), ZoomLevels.end(), unitsPerPixel_) - ZoomLevels.begin();
    SetUnitsPerPixel(
        ZoomLevels[static_cast<size_t>(std::clamp<long>(at + direction, 0, ZoomLevels.size() - 1))]);
}

std::vector<std::pair<int, const TElement*>> TForm17::DrawnChannels() const {
    std::vector<std::pair<int, const TElement*>> drawn;
    for (int c = 1; c <= 5; ++c) {
        const int p = model_.OscChannel(c);
        if (Frame181->PanelShown(c) && Frame181->channel(c).OnBox->isChecked() && p >= 1 &&
            p <= model_.ElementCount())
            drawn.emplace_back(c, &model_.element(p));
    }
    return drawn;
}

TSimTime TForm17::ColumnEnd(int x) const {
    return ViewEnd() - static_cast<TSimTime>(TraceWidth - 1 - x) * unitsPerPixel_;
}

TSimTime TForm17::SnappedTime(int x) const {
    const TSimTime k = unitsPerPixel_, end = ViewEnd();
    const TSimTime clicked = std::clamp<TSimTime>(ColumnEnd(x), 0, LatestUnit());
    // The edges drawn in the columns x - CursorSnap .. x + CursorSnap.
    const TSimTime from = ColumnEnd(x - CursorSnap - 1) + 1, to = ColumnEnd(x + CursorSnap);
    std::optional<TSimTime> best;
    TSimTime bestColumns = 0;
    for (const auto& [c, probe] : DrawnChannels()) {
        const std::vector<TSimTime>& t = probe->Transitions;
        for (auto it = std::lower_bound(t.begin(), t.end(), from); it != t.end() && *it <= to; ++it) {
            const TSimTime column = TraceWidth - 1 - (end - *it) / k;
            const TSimTime columns = std::abs(column - x);
            if (!best || columns < bestColumns ||
                (columns == bestColumns && std::abs(*it - clicked) < std::abs(*best - clicked))) {
                best = *it;
                bestColumns = columns;
            }
        }
    }
    return best.value_or(clicked);
}

void TForm17::ClickTrace(int channel, int x, bool shift) {
    selectedChannel_ = channel;
    (shift ? cursorB_ : cursorA_) = SnappedTime(x);
    Button2Click();
}

void TForm17::StepCursor(bool b, int direction) {
    const int p = selectedChannel_ >= 1 ? model_.OscChannel(selectedChannel_) : 0;
    if (p < 1 || p > model_.ElementCount()) return;
    const std::vector<TSimTime>& t = model_.element(p).Transitions;
    std::optional<TSimTime>& cursor = b ? cursorB_ : cursorA_;
    const TSimTime from = cursor.value_or(ViewEnd());
    if (direction > 0) {
        const auto next = std::upper_bound(t.begin(), t.end(), from);
        if (next == t.end()) return;
        cursor = *next;
    } else {
        const auto next = std::lower_bound(t.begin(), t.end(), from);
        if (next == t.begin()) return;
        cursor = *std::prev(next);
    }
    // An edge off the traces is brought to their middle.
    const TSimTime end = ViewEnd(), span = static_cast<TSimTime>(TraceWidth) * unitsPerPixel_;
    if (*cursor > end || *cursor <= end - span)
        ScrollTo(*cursor + span / 2);
    else
        Button2Click();
}

QString TForm17::ReadoutText() const {
    QStringList parts;
    if (cursorA_) parts << QStringLiteral("A: %1").arg(*cursorA_);
    if (cursorB_) parts << QStringLiteral("B: %1").arg(*cursorB_);
    if (cursorA_ && cursorB_) {
        const TSimTime dt = *cursorB_ - *cursorA_;
        parts << tr("Δt = %1 нс").arg(dt);
        if (dt != 0) parts << tr("1/Δt = %1 МГц").arg(1000.0 / static_cast<double>(std::abs(dt)), 0, 'g', 6);
    }
    if (sim_.Recording == ProbeRecording::Whole) {
        std::vector<TraceRecord> records;
        for (const auto& [c, probe] : DrawnChannels())
            records.push_back(ProbeRecord(*probe));
        if (const TSimTime start = RecordStart(records); start > 0)
            parts << tr("запись полна с %1").arg(start);
    }
    return parts.join(u'\n');
}

void TForm17::ShowViewState() {
    syncing_ = true;
    const TSimTime lo = EarliestViewEnd(), hi = LatestUnit(), end = ViewEnd();
    const int steps =
        hi > lo ? static_cast<int>(std::clamp<TSimTime>((hi - lo) / unitsPerPixel_, 100, MaxScrollSteps))
                : 100;
    const int value =
        hi > lo && !following_
            ? static_cast<int>(static_cast<long double>(end - lo) * steps / static_cast<long double>(hi - lo))
            : steps;
    const QString zoom = ZoomText(unitsPerPixel_);
    for (int c = 1; c <= 5; ++c) {
        const ChannelPanel& ch = Frame181->channel(c);
        ch.ScrollBar->setRange(0, steps);
        ch.ScrollBar->setPageStep(std::max(1, steps / 10));
        ch.ScrollBar->setValue(std::min(value, steps));
        // Not while the user is typing into it (the run redraws every unit).
        if (!ch.ScaleEdit->isModified() || !ch.ScaleEdit->hasFocus()) ch.ScaleEdit->setText(zoom);
        QString levels;
        const int p = model_.OscChannel(c);
        if (p >= 1 && p <= model_.ElementCount()) {
            const TElement& probe = model_.element(p);
            for (const auto& [name, cursor] : {std::pair{u'A', cursorA_}, std::pair{u'B', cursorB_}})
                if (cursor)
                    levels += (levels.isEmpty() ? QString() : QStringLiteral("\n")) + name +
                              (LevelAt(probe.Transitions, probe.LevelBefore, *cursor) ? u'1' : u'0');
        }
        ch.Levels->setText(levels);
    }
    const QString readout = ReadoutText();
    Readout->setText(readout);
    Readout->setToolTip(readout);
    syncing_ = false;
}

bool TForm17::eventFilter(QObject* watched, QEvent* event) {
    int channel = 0;
    for (int c = 1; c <= 5; ++c)
        if (watched == Frame181->channel(c).Image) channel = c;
    if (channel == 0) return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) break;
        ClickTrace(channel, static_cast<int>(mouse->position().x()), mouse->modifiers() & Qt::ShiftModifier);
        return false; // the picture still takes the focus
    }
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shift = key->modifiers() & Qt::ShiftModifier;
        switch (key->key()) {
        case Qt::Key_Left:
            StepCursor(shift, -1);
            return true;
        case Qt::Key_Right:
            StepCursor(shift, +1);
            return true;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            StepZoom(-1);
            return true;
        case Qt::Key_Minus:
            StepZoom(+1);
            return true;
        default:
            break;
        }
        break;
    }
    case QEvent::Wheel: {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        if (!(wheel->modifiers() & Qt::ControlModifier) || wheel->angleDelta().y() == 0) break;
        StepZoom(wheel->angleDelta().y() > 0 ? -1 : +1);
        return true;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

QImage TForm17::TracesPicture() const {
    int bottom = 0;
    for (int c = 1; c <= 5; ++c)
        if (Frame181->PanelShown(c))
            bottom = std::max(bottom, Frame181->channel(c).Panel->geometry().bottom() + 1);
    QImage picture(TFrame18::PanelWidth, std::max(1, bottom), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    for (int c = 1; c <= 5; ++c) {
        if (!Frame181->PanelShown(c)) continue;
        QFrame* panel = Frame181->channel(c).Panel;
        painter.drawImage(panel->pos(), panel->grab().toImage());
    }
    return picture;
}

bool TForm17::SaveTraces(const QString& path, TraceFile kind) {
    QByteArray bytes;
    if (kind == TraceFile::Png) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        TracesPicture().save(&buffer, "PNG");
    } else {
        std::vector<TraceRecord> records;
        for (const auto& [c, probe] : DrawnChannels())
            records.push_back(ProbeRecord(*probe));
        bytes = kind == TraceFile::Vcd ? TracesVcd(records, LatestUnit()) : TracesCsv(records);
    }
    QString why;
    if (SaveFileWhole(path, bytes, &why)) return true;
    QMessageBox::warning(this, tr("Внимание"),
                         tr("Не удалось записать файл %1:\n%2").arg(QDir::toNativeSeparators(path), why));
    return false;
}

void TForm17::SaveTracesAs() {
    const QString vcd = tr("Трассы VCD (*.vcd)");
    const QString csv = tr("Трассы CSV (*.csv)");
    const QString png = tr("Рисунок PNG (*.png)");
    QFileDialog dialog(this, tr("Сохранить трассы"));
    dialog.setObjectName(QStringLiteral("SaveTracesDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({vcd, csv, png});
    dialog.setDefaultSuffix(QStringLiteral("vcd"));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        dialog.setDefaultSuffix(filter == csv   ? QStringLiteral("csv")
                                : filter == png ? QStringLiteral("png")
                                                : QStringLiteral("vcd"));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString filter = dialog.selectedNameFilter();
    SaveTraces(dialog.selectedFiles().first(), filter == csv   ? TraceFile::Csv
                                               : filter == png ? TraceFile::Png
                                                               : TraceFile::Vcd);
}

void TForm17::FollowChannels() {
    if (isVisible()) {
        if (CheckListBox1->count() != model_.OscCount()) {
            // A probe was listed (or the schematic cleared): the list is made anew.
            RefreshProbeList();
        } else {
            // A placed probe shows its channel at once; a deleted one goes from the layout.
            laying_ = true;
            for (int c = 1; c <= std::min(5, CheckListBox1->count()); ++c)
                if (seen_[static_cast<size_t>(c)] == 0 && model_.OscChannel(c) != 0)
                    CheckListBox1->item(c - 1)->setCheckState(Qt::Checked);
            laying_ = false;
            CheckListBox1ClickCheck();
        }
    }
    for (int c = 1; c <= 5; ++c)
        seen_[static_cast<size_t>(c)] = model_.OscChannel(c);
}
