#include "UserName.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

QString userNameFromAccount(const QString &accountComment, const QString &loginName)
{
    // The comment may carry office and telephone after the name, separated by commas.
    const QString fullName = accountComment.section(QLatin1Char(','), 0, 0).trimmed();
    return fullName.isEmpty() ? loginName.trimmed() : fullName;
}

QString currentUserName()
{
#ifdef Q_OS_UNIX
    if (const passwd *account = getpwuid(getuid()))
        return userNameFromAccount(QString::fromLocal8Bit(account->pw_gecos),
                                   QString::fromLocal8Bit(account->pw_name));
#endif
    QString login = qEnvironmentVariable("USER");
    if (login.isEmpty())
        login = qEnvironmentVariable("USERNAME");
    return userNameFromAccount(QString(), login);
}

QString firstName(const QString &name)
{
    return name.section(QLatin1Char(' '), 0, 0);
}
