#pragma once
// What the main window's source files share: the window's name in error
// reports, the trapping rules of its handlers and its fixed queries.
#include "frmError.h"

#include "platform/RuntimeError.h"

#include <QString>

namespace frmMainSteps {

inline const QString FormName = QStringLiteral("frmMain");
inline const QString SettingsSection = QStringLiteral("Settings");
constexpr int KeyRole = Qt::UserRole;
constexpr int ImageRole = Qt::UserRole + 1;

// Runs one statement of a handler that reports its errors and goes on.
template <class F> void step(const QString &procedure, bool messageFirst, F &&f)
{
    try {
        f();
    } catch (const RuntimeError &e) {
        frmError::report(e, FormName, procedure, messageFirst);
    }
}

// Runs one statement whose failure is skipped silently.
template <class F> bool quietly(F &&f)
{
    return Trap::skip(std::forward<F>(f));
}

inline QString assignmentQuery() { return QStringLiteral("SELECT * From Assignments WHERE Class_ID = ? ORDER BY DateDue"); }

} // namespace frmMainSteps
