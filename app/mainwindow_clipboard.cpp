// SPDX-License-Identifier: MIT
// The main window's clipboard commands: copy, cut and paste of the selected elements with the nets
// among them, through the system clipboard (our own format plus the netlist text).
#include "app/mainwindow.h"

#include "document/clippart.h"
#include "editor/workspaceframe.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>

const QString TForm1::ClipMimeType = QStringLiteral("application/x-tarnwell-part");

QMimeData* TForm1::CopiedSelection() {
    const TClipPart part = CopySelection(model(), document_->placementSource());
    if (part.empty()) return nullptr;
    auto* mime = new QMimeData;
    mime->setData(ClipMimeType, EncodeClipPart(part));
    mime->setText(ClipPartText(part));
    return mime;
}

void TForm1::CopyClick() {
    if (QMimeData* mime = CopiedSelection()) QGuiApplication::clipboard()->setMimeData(mime);
}

void TForm1::CutClick() {
    QMimeData* mime = CopiedSelection();
    if (!mime) return;
    QGuiApplication::clipboard()->setMimeData(mime);
    N7Click();
}

std::optional<TPoint32> TForm1::PointerCell() const {
    const QPoint inView = Frame21->viewport()->mapFromGlobal(QCursor::pos());
    if (!Frame21->viewport()->rect().contains(inView)) return std::nullopt;
    const int scale = Frame21->view().Scale;
    const QPoint p = Frame21->Panel1()->mapFromGlobal(QCursor::pos()) - QPoint(2, 2);
    if (p.x() < 0 || p.y() < 0) return std::nullopt;
    return TPoint32{p.x() / scale, p.y() / scale};
}

void TForm1::PasteClick() {
    PasteMime(QGuiApplication::clipboard()->mimeData(), PointerCell());
}

bool TForm1::PasteMime(const QMimeData* mime, std::optional<TPoint32> at) {
    if (!mime || !mime->hasFormat(ClipMimeType)) return false;
    const std::optional<TClipPart> part = DecodeClipPart(mime->data(ClipMimeType));
    if (!part) {
        QMessageBox::warning(this, tr("Внимание"),
                             tr("Данные в буфере обмена повреждены: ничего не вставлено."));
        return false;
    }
    switch (document_->Paste(*part, at)) {
    case PasteFault::None:
        return true;
    case PasteFault::SixthProbe:
        QMessageBox::warning(this, tr("Внимание"),
                             tr("В схеме не может быть больше пяти осциллографов: ничего не вставлено."));
        return false;
    case PasteFault::TableFull:
        WarnTableFull();
        return false;
    case PasteFault::Empty:
    case PasteFault::Busy:
        return false;
    }
    return false;
}

bool TForm1::ClipboardHasPart() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return mime && mime->hasFormat(ClipMimeType);
}
