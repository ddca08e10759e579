#include "UserName.h"

#include <pwd.h>
#include <unistd.h>

namespace UserName {

QString fromAccount(const QString &fullNameField, const QString &login)
{
    QString name = fullNameField.section(QLatin1Char(','), 0, 0).trimmed();
    if (name.isEmpty())
        name = login.trimmed();
    if (name.size() > MaxLength) {
        int cut = MaxLength;
        // Never split a character made of two UTF-16 units.
        if (name.at(cut - 1).isHighSurrogate())
            --cut;
        name.truncate(cut);
    }
    return name;
}

QString text()
{
    static const QString name = [] {
        QString fullName, login;
        if (const passwd *pw = getpwuid(geteuid())) {
            if (pw->pw_gecos)
                fullName = QString::fromLocal8Bit(pw->pw_gecos);
            if (pw->pw_name)
                login = QString::fromLocal8Bit(pw->pw_name);
        }
        if (login.isEmpty())
            login = qEnvironmentVariable("LOGNAME", qEnvironmentVariable("USER"));
        return fromAccount(fullName, login);
    }();
    return name;
}

} // namespace UserName
