#pragma once

#include <QPushButton>
#include <QTest>
#include <QWidget>

// A window's control by objectName; a missing one ends the test run with its name, since every
// later step would only fail less clearly.
template <typename T>
T* child(const QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr)
        qFatal("no control %s in %s", name, qPrintable(window.objectName()));
    return found;
}

inline void click(const QWidget& window, const char* button) {
    QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
}
