#pragma once
// What the main window's source files share: the window's name in error
// reports, the trapping rules of its handlers and its fixed queries.
#include "frmError.h"

#include "platform/RuntimeError.h"

#include <QSet>
#include <QString>

namespace frmMainSteps {

inline const QString FormName = QStringLiteral("frmMain");
inline const QString SettingsSection = QStringLiteral("Settings");
constexpr int KeyRole = Qt::UserRole;
constexpr int ImageRole = Qt::UserRole + 1;

// The reports of a handler that runs again by itself, as the activation
// does each time a box it showed closes: a cause (procedure, number and
// description) is reported once and not again while each run meets it anew.
// A run without it forgets it, so it is told again when it comes back.
class OncePerCause
{
public:
    void begin()
    {
        if (m_depth++ == 0)
            m_seen.clear();
    }
    void end()
    {
        if (--m_depth == 0)
            m_standing = m_seen;
    }
    // Notes the cause; true when it is not already standing.
    bool firstReport(const QString &procedure, const RuntimeError &e)
    {
        const QString cause = procedure + QLatin1Char('\n') + QString::number(e.number()) + QLatin1Char('\n') + e.description();
        m_seen.insert(cause);
        return !m_standing.contains(cause);
    }

private:
    QSet<QString> m_standing;
    QSet<QString> m_seen;
    int m_depth = 0;
};

// The filter the running handler's reports go through, if any.
inline OncePerCause *&reportFilter()
{
    static OncePerCause *filter = nullptr;
    return filter;
}

// Puts the reports of one run of a handler through its filter.
class FilteredRun
{
public:
    explicit FilteredRun(OncePerCause &filter) : m_filter(filter), m_previous(reportFilter())
    {
        m_filter.begin();
        reportFilter() = &m_filter;
    }
    ~FilteredRun()
    {
        reportFilter() = m_previous;
        m_filter.end();
    }
    FilteredRun(const FilteredRun &) = delete;
    FilteredRun &operator=(const FilteredRun &) = delete;

private:
    OncePerCause &m_filter;
    OncePerCause *m_previous;
};

// Runs one statement of a handler that reports its errors and goes on.
template <class F> void step(const QString &procedure, bool messageFirst, F &&f)
{
    try {
        f();
    } catch (const RuntimeError &e) {
        if (OncePerCause *filter = reportFilter(); filter && !filter->firstReport(procedure, e))
            return;
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
