// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <functional>

// Runs `action` once the next modal dialog or message box is up (polled from the event loop),
// passing the active modal widget; gives up after `timeoutMs` (long: a loaded machine under the
// sanitizers can take seconds to build a dialog, and a dialog nobody closes hangs the test).
void WhenModalShown(std::function<void(class QWidget*)> action, int timeoutMs = 30000);
// The same for the next modal widget that `wanted` accepts; other modal widgets that are up
// meanwhile (an outer dialog while the inner one is still being built) are waited past.
void WhenModalShown(std::function<bool(class QWidget*)> wanted, std::function<void(class QWidget*)> action,
                    int timeoutMs = 30000);

// Text of the message box that the last AcceptNextMessageBox closed (empty until one did).
QString LastMessageBoxText();
QString LastMessageBoxTitle();
// Closes the next message box with its default button and remembers its caption and text.
void AcceptNextMessageBox();
// Closes the next message box (other modal windows are waited past) with its standard button
// `button` (a QMessageBox::StandardButton) and remembers its caption and text.
void AnswerNextMessageBox(int button);
