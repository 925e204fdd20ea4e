#pragma once

#include <QString>

// The name the screens greet the user with: the full name of the logged-in user's account
// where the system keeps one (the first field of the account's comment), else the login
// name; empty when neither is known.
QString currentUserName();

// The same rule on given account fields.
QString userNameFromAccount(const QString &accountComment, const QString &loginName);

// The name up to its first blank; the whole name when it has none.
QString firstName(const QString &name);
