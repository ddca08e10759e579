#pragma once
// One exception type for every run-time error of the program. It carries the
// error number and description that the handlers report or test for.
#include <QString>
#include <stdexcept>
#include <utility>

class RuntimeError : public std::runtime_error
{
public:
    RuntimeError(int number, const QString &description)
        : std::runtime_error(description.toStdString()), m_number(number), m_description(description) {}

    int number() const { return m_number; }
    QString description() const { return m_description; }

private:
    int m_number;
    QString m_description;
};

// The error numbers the program looks at.
namespace Err {
constexpr int Overflow = 6;
constexpr int TypeMismatch = 13;
constexpr int PathFileAccess = 75;
constexpr int ObjectVariableNotSet = 91;
constexpr int ObjectUnloaded = 364;
constexpr int ItemNotFound = 3265;
constexpr int NoCurrentRecord = 3021;
constexpr int UpdateWithoutEdit = 3020;
constexpr int ReadOnly = 3027;
constexpr int FieldTooSmall = 3163;
constexpr int DatabaseExists = 3204;
constexpr int SqlSyntax = 3075;
constexpr int CannotOpen = 3051;
constexpr int Locked = 3260;
constexpr int NotADatabase = 3343;
constexpr int FileNotFound = 53;
constexpr int DiskFull = 61;
constexpr int DiskError = 3043;
constexpr int TableMissing = 3078;
constexpr int General = 3000;
}

// How a handler skips a statement that fails and goes on with the next.
namespace Trap {
// Runs the statement; false when it raised a run-time error.
template <class F> bool skip(F &&f)
{
    try {
        f();
        return true;
    } catch (const RuntimeError &) {
        return false;
    }
}
} // namespace Trap
