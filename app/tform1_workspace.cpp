// SPDX-License-Identifier: MIT
// The main window's workspace commands: re-route and redraw, zoom.
#include "tform1.h"

#include "router.h"
#include "tframe2.h"

#include <QPlainTextEdit>

void TForm1::Button4Click() {
    QStringList log;
    Memo2->clear();
    model_->DeriveCons(&log);
    Memo2->setPlainText(log.join(u'\n'));
    RouteWires(*model_);
}

void TForm1::ComboBox1Change() {}
