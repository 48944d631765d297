// SPDX-License-Identifier: MIT
// The main window's special-element commands: the double click on a switch, a generator or a
// probe, and the oscilloscope window.
#include "app/mainwindow.h"

#include "editor/elementpicture.h"
#include "editor/workspaceframe.h"
#include "sim/generatordialog.h"
#include "sim/oscilloscopewindow.h"

#include <QMouseEvent>

void TForm1::ConnectSpecialElements() {
    connect(Frame21, &TFrame2::pictureDoubleClicked, this,
            [this](ElementPicture* picture, QMouseEvent* event) {
                if (event->button() == Qt::LeftButton) Image1DblClick(picture);
            });
    // A new press starts a new gesture, whether or not the double click's release came.
    connect(Frame21, &TFrame2::picturePressed, this, [this] { doubleClicked_ = nullptr; });
}

void TForm1::Image1DblClick(ElementPicture* picture) {
    const int k = picture ? picture->tag() : 0;
    if (k < 1 || k > model().ElementCount()) return;
    switch (model().element(k).kind()) {
    case ElementKind::Switch:
        // The fresh picture carries no tint; the simulator drives the new level from its next pass.
        model().ToggleSwitch(k);
        break;
    case ElementKind::Generator: {
        auto* dialog = window<TForm16>();
        if (!dialog) return;
        Simulator& sim = simulator();
        sim.Paused = true;
        const QString name = model().element(k).Name;
        dialog->SetDurations(model().element(k).Reaction_HL, model().element(k).Reaction_LH);
        const bool ok = dialog->exec() == QDialog::Accepted;
        // The dialog's event loop may have let the table change; the generator is found again.
        if (k <= model().ElementCount() && model().element(k).Name == name) {
            if (ok) {
                int32_t high = model().element(k).Reaction_HL;
                int32_t low = model().element(k).Reaction_LH;
                dialog->StoreDurations(high, low);
                document_->SetGeneratorDurations(k, high, low);
            }
            // The clicks of the double click selected it.
            model().DeselectElement(k);
        }
        sim.Paused = false;
        break;
    }
    case ElementKind::Probe:
        N15Click();
        break;
    default:
        return;
    }
    doubleClicked_ = picture;
}

bool TForm1::ReleaseEndsDoubleClick(const ElementPicture* picture) {
    if (!doubleClicked_ || picture != doubleClicked_) return false;
    doubleClicked_ = nullptr;
    return true;
}

void TForm1::RefreshProbeList() {
    if (auto* scope = window<TForm17>()) scope->RefreshProbeList();
}

void TForm1::N15Click() {
    auto* scope = window<TForm17>();
    if (!scope || model().OscCount() < 1) return;
    scope->RefreshProbeList();
    scope->show();
    scope->raise();
}
