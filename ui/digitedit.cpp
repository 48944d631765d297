// SPDX-License-Identifier: MIT
#include "ui/digitedit.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {

class DigitKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && DiscardNonDigitKey(static_cast<QKeyEvent*>(event)))
            return true;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

bool DiscardNonDigitKey(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        break;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint()) return false;
    return !(text.size() == 1 && text[0] >= u'0' && text[0] <= u'9');
}

void MakeDigitsOnly(QLineEdit* edit) {
    edit->installEventFilter(new DigitKeyFilter(edit));
    static const QRegularExpression digits(QStringLiteral("[0-9]*"));
    edit->setValidator(new QRegularExpressionValidator(digits, edit));
}
