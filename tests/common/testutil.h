// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <functional>

// Runs `action` once the next modal dialog or message box is up (polled from the event loop),
// passing the active modal widget; gives up after `timeoutMs`.
void WhenModalShown(std::function<void(class QWidget*)> action, int timeoutMs = 5000);

// Text of the message box that the last AcceptNextMessageBox closed (empty until one did).
QString LastMessageBoxText();
QString LastMessageBoxTitle();
// Closes the next message box with its default button and remembers its caption and text.
void AcceptNextMessageBox();
