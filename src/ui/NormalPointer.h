#pragma once

#include <QGuiApplication>

// While a window waits for the user, the pointer is the normal one, also in the middle of a busy
// run (a message box or the code window shown by a generation run).
class NormalPointer {
  public:
    NormalPointer() : m_pushed(QGuiApplication::overrideCursor() != nullptr) {
        if (m_pushed)
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~NormalPointer() {
        if (m_pushed)
            QGuiApplication::restoreOverrideCursor();
    }
    NormalPointer(const NormalPointer&) = delete;
    NormalPointer& operator=(const NormalPointer&) = delete;

  private:
    bool m_pushed;
};
