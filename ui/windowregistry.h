// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

// The program's windows by class, one of each: a window registers itself when it is created and
// the others find it by its class. A window that does not exist (yet or any more) reads as null.
// The registry does not own the windows. The key is the window's most derived meta-object, so every
// registered class declares Q_OBJECT (get<T>() refuses to compile otherwise).
class WindowRegistry {
public:
    // Registers `window` under its own class, replacing an earlier window of that class.
    void add(QWidget* window) { windows_.insert(window->metaObject(), window); }

    template <class T> T* get() const {
        return qobject_cast<T*>(windows_.value(&T::staticMetaObject).data());
    }

private:
    QHash<const QMetaObject*, QPointer<QWidget>> windows_;
};
