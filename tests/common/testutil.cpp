// SPDX-License-Identifier: MIT
#include "tests/common/testutil.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <utility>

namespace {
QString lastText;
QString lastTitle;
} // namespace

void WhenModalShown(std::function<bool(QWidget*)> wanted, std::function<void(QWidget*)> action,
                    int timeoutMs) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, wanted, action, clock, timeoutMs] {
        QWidget* w = QApplication::activeModalWidget();
        if (w && !wanted(w)) w = nullptr;
        if (w || clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
        if (w) action(w);
    });
    timer->start();
}

void WhenModalShown(std::function<void(QWidget*)> action, int timeoutMs) {
    WhenModalShown([](QWidget*) { return true; }, std::move(action), timeoutMs);
}

void AcceptNextMessageBox() {
    lastText.clear();
    lastTitle.clear();
    WhenModalShown([](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box) return;
        lastText = box->text();
        lastTitle = box->windowTitle();
        if (QAbstractButton* b = box->defaultButton())
            b->click();
        else
            box->accept();
    });
}

void AnswerNextMessageBox(int button) {
    lastText.clear();
    lastTitle.clear();
    const auto isBox = [](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; };
    WhenModalShown(isBox, [button](QWidget* w) {
        auto* box = static_cast<QMessageBox*>(w);
        lastText = box->text();
        lastTitle = box->windowTitle();
        if (QAbstractButton* b = box->button(static_cast<QMessageBox::StandardButton>(button)))
            b->click();
        else
            box->reject();
    });
}

QString LastMessageBoxText() {
    return lastText;
}
QString LastMessageBoxTitle() {
    return lastTitle;
}
