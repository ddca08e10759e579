#include "Trap.h"

namespace Trap {

QString titleOf(const RuntimeError &error, const QString &otherwise)
{
    switch (error.number()) {
    case Err::Overflow: return QStringLiteral("Number out of range");
    case Err::TypeMismatch: return QStringLiteral("Value not accepted");
    case Err::FileNotFound: return QStringLiteral("File not found");
    case Err::DiskFull: return QStringLiteral("Disk full");
    case Err::PathFileAccess: return QStringLiteral("File not accessible");
    case Err::NoCurrentRecord: return QStringLiteral("No current record");
    case Err::ReadOnly: return QStringLiteral("Database read-only");
    case Err::DiskError: return QStringLiteral("Disk error");
    case Err::CannotOpen: return QStringLiteral("Database not available");
    case Err::FieldTooSmall: return QStringLiteral("Text too long");
    case Err::DatabaseExists: return QStringLiteral("File already exists");
    case Err::Locked: return QStringLiteral("Database locked");
    case Err::TableMissing:
    case Err::ItemNotFound: return QStringLiteral("Not found");
    case Err::NotADatabase: return QStringLiteral("Database damaged");
    default: return otherwise.isEmpty() ? MessageBox::programTitle() : otherwise;
    }
}

void tell(const RuntimeError &error, MessageBox::Icon icon, const QString &lead)
{
    MessageBox::show(lead + error.description(), MessageBox::OkOnly, icon, titleOf(error));
}

void tell(const std::exception &error, MessageBox::Icon icon)
{
    MessageBox::show(QString::fromLocal8Bit(error.what()), MessageBox::OkOnly, icon, QString());
}

} // namespace Trap
