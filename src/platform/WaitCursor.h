#pragma once
// The hourglass for the life of the object (nothing without a GUI).
#include <QApplication>

class WaitCursor
{
public:
    WaitCursor() { set(true); }
    ~WaitCursor() { set(false); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

    void set(bool wait)
    {
        if (!qobject_cast<QApplication *>(QCoreApplication::instance()) || wait == m_on)
            return;
        if (wait)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
        m_on = wait;
    }

private:
    bool m_on = false;
};
