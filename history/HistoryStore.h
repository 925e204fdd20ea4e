#pragma once

#include "history/Attempt.h"

#include <QList>
#include <QString>

class QSqlDatabase;

// The SQLite file of graded tests. Opening creates or upgrades the schema; every write is
// one transaction, so an attempt is recorded whole or not at all. Failures are values: a
// false or empty result, and lastError() says why.
class HistoryStore
{
public:
    // The schema this program writes; older files are upgraded on open.
    static constexpr int schemaVersion = 2;

    explicit HistoryStore(const QString &path);
    ~HistoryStore();
    HistoryStore(const HistoryStore &) = delete;
    HistoryStore &operator=(const HistoryStore &) = delete;

    bool open();
    QString path() const { return m_path; }
    QString lastError() const { return m_lastError; }

    // Records the attempt with its objectives and items; returns its id, 0 on failure.
    qint64 record(const Attempt &attempt);
    // Every attempt with its objective results, oldest first; items are left out.
    QList<Attempt> attempts();
    QList<ItemResult> items(qint64 attemptId);
    // Removes every attempt, and the space they took in the file.
    bool clear();

private:
    bool fail(const QString &error);
    bool migrate();

    QString m_path;
    QString m_connection;
    QString m_lastError;
};

// Where the program keeps its history: history.sqlite in the user's data folder.
QString defaultHistoryPath();

// The attempts as a spreadsheet reads them: a header, then one row per attempt.
QString historyCsv(const QList<Attempt> &attempts);

// The folder offered for saving reports and exports: the user's documents folder where it
// exists, else the home folder.
QString documentsFolder();
