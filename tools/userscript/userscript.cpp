// SPDX-License-Identifier: MIT
#include "tools/userscript/userscript.h"

#include "app/mainwindow.h"
#include "app/navigatorpanel.h"
#include "catalogue/addchipdialog.h"
#include "catalogue/cursorgrid.h"
#include "editor/elementpicture.h"
#include "editor/workspaceframe.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace UserScript {

namespace {

QModelIndex RowOf(CursorGrid* grid, const QString& mark) {
    const QAbstractItemModel* m = grid->model();
    for (int r = 0; r < m->rowCount(); ++r)
        for (int c = 0; c < m->columnCount(); ++c)
            if (m->index(r, c).data().toString() == mark) return m->index(r, c);
    return {};
}

void PickRow(CursorGrid* grid, const QString& mark) {
    const QModelIndex index = RowOf(grid, mark);
    if (!index.isValid()) qFatal("no chip %s in the catalogue", qPrintable(mark));
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

QWindow* Win(TForm1& form) {
    return form.windowHandle();
}

QPoint At(TForm1& form, QPoint panel) {
    return form.Frame21->Panel1()->mapTo(&form, panel);
}

} // namespace

void AddChips(TForm1& form, const QStringList& marks) {
    // The dialog is modal: it is worked from the event loop once it is up.
    QTimer::singleShot(0, &form, [marks] {
        auto* dialog = qobject_cast<TForm13*>(QApplication::activeModalWidget());
        if (!dialog) qFatal("the add-chip dialog did not open");
        for (qsizetype i = 0; i < marks.size(); ++i) {
            PickRow(dialog->DBGrid1, marks[i]);
            QTest::mouseClick(i + 1 < marks.size() ? dialog->Button3 : dialog->Button2, Qt::LeftButton);
        }
    });
    form.ActAddChip->trigger();
}

void PlaceNode(TForm1& form, const QString& text) {
    QTreeView* tree = form.NavPanel->TreeView1;
    tree->expandAll();
    const QList<QStandardItem*> found =
        form.model().navigator().model().findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.isEmpty()) qFatal("no navigator node %s", qPrintable(text));
    const QModelIndex index = form.NavPanel->viewIndex(found.first());
    tree->scrollTo(index);
    const QPoint at = tree->visualRect(index).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
}

void Press(TForm1& form, QPoint panel, Qt::MouseButton button) {
    QTest::mousePress(Win(form), button, {}, At(form, panel));
}

void MoveTo(TForm1& form, QPoint panel) {
    QTest::mouseMove(Win(form), At(form, panel));
}

void Release(TForm1& form, QPoint panel, Qt::MouseButton button) {
    QTest::mouseRelease(Win(form), button, {}, At(form, panel));
}

void Click(TForm1& form, QPoint panel) {
    Press(form, panel);
    Release(form, panel);
}

QPoint Middle(TForm1& form, int k) {
    return form.Frame21->picture(k)->geometry().center();
}

QPoint PinPoint(TForm1& form, TPinRef pin) {
    const int scale = form.Frame21->view().Scale;
    const TLeg& leg = form.model().element(pin.Element).Legs[static_cast<size_t>(pin.Leg)];
    // A little inside the picture's edge, on the pin's row.
    const int inward = leg.X == 0 ? scale / 5 : -scale / 5;
    return form.Frame21->picture(pin.Element)->pos() + QPoint(leg.X * scale + inward, leg.Y * scale);
}

namespace {
QList<int> LegsAt(TForm1& form, int k, bool right) {
    const TElement& e = form.model().element(k);
    QList<int> legs;
    for (size_t j = 0; j < e.Legs.size(); ++j)
        if ((e.Legs[j].X != 0) == right) legs << static_cast<int>(j);
    return legs;
}
} // namespace

QList<int> LeftLegs(TForm1& form, int k) {
    return LegsAt(form, k, false);
}

QList<int> RightLegs(TForm1& form, int k) {
    return LegsAt(form, k, true);
}

void MoveElement(TForm1& form, int k, TPoint32 to) {
    const int scale = form.Frame21->view().Scale;
    // A free point of the field: below every picture.
    int bottom = 0;
    for (int i = 1; i <= form.model().ElementCount(); ++i)
        bottom = std::max(bottom, form.Frame21->picture(i)->geometry().bottom());
    Click(form, QPoint(scale, bottom + 3 * scale));
    const QPoint start = Middle(form, k);
    const TPoint32 from = form.model().element(k).Coord;
    const QPoint end = start + QPoint((to.x - from.x) * scale, (to.y - from.y) * scale);
    for (int pass = 0; pass < 2; ++pass) {
        Press(form, start);
        MoveTo(form, (start + end) / 2);
        MoveTo(form, end);
        Release(form, end);
        if (pass == 0) MoveTo(form, start);
    }
}

void DragWire(TForm1& form, TPinRef a, TPinRef b) {
    const QPoint from = PinPoint(form, a), to = PinPoint(form, b);
    Press(form, from);
    MoveTo(form, (from + to) / 2);
    MoveTo(form, to);
    Release(form, to);
}

} // namespace UserScript
