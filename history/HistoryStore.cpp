#include "HistoryStore.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

namespace {

QAtomicInt connectionCount;

// Each step takes the file from the version before it to the next; a new file runs all.
const QList<QList<const char *>> schemaSteps = {
    {"CREATE TABLE attempt (id INTEGER PRIMARY KEY, exam_code TEXT NOT NULL, "
     "mode INTEGER NOT NULL, started TEXT NOT NULL, ended TEXT NOT NULL, "
     "scaled_score INTEGER NOT NULL, passed INTEGER NOT NULL)",
     "CREATE TABLE objective_result (attempt_id INTEGER NOT NULL REFERENCES attempt(id) "
     "ON DELETE CASCADE, objective_no INTEGER NOT NULL, objective_name TEXT NOT NULL, "
     "correct INTEGER NOT NULL, asked INTEGER NOT NULL, PRIMARY KEY (attempt_id, objective_no))"},
    {"ALTER TABLE attempt ADD COLUMN exam_title TEXT NOT NULL DEFAULT ''",
     "ALTER TABLE attempt ADD COLUMN db_version TEXT NOT NULL DEFAULT ''",
     "ALTER TABLE attempt ADD COLUMN mode_name TEXT NOT NULL DEFAULT ''",
     "ALTER TABLE attempt ADD COLUMN question_count INTEGER NOT NULL DEFAULT 0",
     "ALTER TABLE attempt ADD COLUMN correct_count INTEGER NOT NULL DEFAULT 0",
     "ALTER TABLE attempt ADD COLUMN pass_score INTEGER NOT NULL DEFAULT 0",
     "CREATE TABLE item_result (attempt_id INTEGER NOT NULL REFERENCES attempt(id) "
     "ON DELETE CASCADE, item_no INTEGER NOT NULL, question_code TEXT NOT NULL, "
     "question_type INTEGER NOT NULL, answer TEXT NOT NULL, status INTEGER NOT NULL, "
     "PRIMARY KEY (attempt_id, item_no))",
     "CREATE INDEX attempt_started ON attempt (started)"},
};

// Every text column is NOT NULL; Qt binds a null string as NULL.
QString notNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

QString timeText(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime timeFrom(const QVariant &value)
{
    return QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

HistoryStore::HistoryStore(const QString &path)
    : m_path(path),
      m_connection(QStringLiteral("history%1").arg(connectionCount.fetchAndAddRelaxed(1)))
{}

HistoryStore::~HistoryStore()
{
    if (QSqlDatabase::contains(m_connection)) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
}

bool HistoryStore::fail(const QString &error)
{
    m_lastError = error;
    return false;
}

bool HistoryStore::open()
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return fail(QStringLiteral("The SQLite driver of Qt is not installed."));
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSqlDatabase db = QSqlDatabase::contains(m_connection)
                          ? QSqlDatabase::database(m_connection, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_path);
    if (!db.open())
        return fail(db.lastError().text());
    QSqlQuery pragma(db);
    if (!pragma.exec(QStringLiteral("PRAGMA foreign_keys = ON")))
        return fail(pragma.lastError().text());
    return migrate();
}

bool HistoryStore::migrate()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return fail(query.lastError().text());
    const int version = query.value(0).toInt();
    if (version > schemaVersion)
        return fail(QStringLiteral("The history was written by a newer version of Quendra."));
    if (version == schemaVersion)
        return true;
    if (!db.transaction())
        return fail(db.lastError().text());
    for (int step = version; step < schemaVersion; ++step) {
        for (const char *statement : schemaSteps[step]) {
            if (!query.exec(QString::fromLatin1(statement))) {
                const QString error = query.lastError().text();
                db.rollback();
                return fail(error);
            }
        }
    }
    if (!query.exec(QStringLiteral("PRAGMA user_version = %1").arg(schemaVersion)) ||
        !db.commit()) {
        const QString error = query.lastError().text() + db.lastError().text();
        db.rollback();
        return fail(error);
    }
    return true;
}

qint64 HistoryStore::record(const Attempt &attempt)
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.isOpen() || !db.transaction()) {
        fail(db.lastError().text());
        return 0;
    }
    QSqlQuery query(db);
    const auto abandon = [&] {
        fail(query.lastError().text());
        db.rollback();
        return 0;
    };
    query.prepare(QStringLiteral(
        "INSERT INTO attempt (exam_code, exam_title, db_version, mode, mode_name, started, ended, "
        "question_count, correct_count, scaled_score, pass_score, passed) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    query.addBindValue(notNull(attempt.examCode));
    query.addBindValue(notNull(attempt.examTitle));
    query.addBindValue(notNull(attempt.dbVersion));
    query.addBindValue(attempt.mode);
    query.addBindValue(notNull(attempt.modeName));
    query.addBindValue(timeText(attempt.started));
    query.addBindValue(timeText(attempt.ended));
    query.addBindValue(attempt.questionCount);
    query.addBindValue(attempt.correctCount);
    query.addBindValue(attempt.scaledScore);
    query.addBindValue(attempt.passScore);
    query.addBindValue(attempt.passed ? 1 : 0);
    if (!query.exec())
        return abandon();
    const qint64 id = query.lastInsertId().toLongLong();

    query.prepare(QStringLiteral("INSERT INTO objective_result (attempt_id, objective_no, "
                                 "objective_name, correct, asked) VALUES (?, ?, ?, ?, ?)"));
    for (const ObjectiveResult &result : attempt.objectives) {
        query.addBindValue(id);
        query.addBindValue(result.objectiveNo);
        query.addBindValue(notNull(result.objectiveName));
        query.addBindValue(result.correct);
        query.addBindValue(result.asked);
        if (!query.exec())
            return abandon();
    }
    query.prepare(QStringLiteral("INSERT INTO item_result (attempt_id, item_no, question_code, "
                                 "question_type, answer, status) VALUES (?, ?, ?, ?, ?, ?)"));
    for (const ItemResult &item : attempt.items) {
        query.addBindValue(id);
        query.addBindValue(item.itemNo);
        query.addBindValue(notNull(item.questionCode));
        query.addBindValue(item.questionType);
        query.addBindValue(notNull(item.answer));
        query.addBindValue(item.status);
        if (!query.exec())
            return abandon();
    }
    if (!db.commit()) {
        fail(db.lastError().text());
        db.rollback();
        return 0;
    }
    return id;
}

QList<Attempt> HistoryStore::attempts()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    QList<Attempt> attempts;
    QHash<qint64, qsizetype> positions;
    if (!query.exec(QStringLiteral(
            "SELECT id, exam_code, exam_title, db_version, mode, mode_name, started, ended, "
            "question_count, correct_count, scaled_score, pass_score, passed FROM attempt "
            "ORDER BY started, id"))) {
        fail(query.lastError().text());
        return {};
    }
    while (query.next()) {
        Attempt attempt;
        attempt.id = query.value(0).toLongLong();
        attempt.examCode = query.value(1).toString();
        attempt.examTitle = query.value(2).toString();
        attempt.dbVersion = query.value(3).toString();
        attempt.mode = query.value(4).toInt();
        attempt.modeName = query.value(5).toString();
        attempt.started = timeFrom(query.value(6));
        attempt.ended = timeFrom(query.value(7));
        attempt.questionCount = query.value(8).toInt();
        attempt.correctCount = query.value(9).toInt();
        attempt.scaledScore = query.value(10).toInt();
        attempt.passScore = query.value(11).toInt();
        attempt.passed = query.value(12).toBool();
        positions.insert(attempt.id, attempts.size());
        attempts.append(attempt);
    }
    if (!query.exec(QStringLiteral("SELECT attempt_id, objective_no, objective_name, correct, "
                                   "asked FROM objective_result ORDER BY attempt_id, rowid"))) {
        fail(query.lastError().text());
        return {};
    }
    // In the order recorded, which is the report's.
    while (query.next()) {
        const auto position = positions.constFind(query.value(0).toLongLong());
        if (position == positions.constEnd())
            continue;
        attempts[*position].objectives.append({query.value(1).toInt(), query.value(2).toString(),
                                               query.value(3).toInt(), query.value(4).toInt()});
    }
    return attempts;
}

QList<ItemResult> HistoryStore::items(qint64 attemptId)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("SELECT item_no, question_code, question_type, answer, status "
                                 "FROM item_result WHERE attempt_id = ? ORDER BY item_no"));
    query.addBindValue(attemptId);
    QList<ItemResult> items;
    if (!query.exec()) {
        fail(query.lastError().text());
        return items;
    }
    while (query.next())
        items.append({query.value(0).toInt(), query.value(1).toString(), query.value(2).toInt(),
                      query.value(3).toString(), query.value(4).toInt()});
    return items;
}

bool HistoryStore::clear()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery query(db);
    if (!db.transaction())
        return fail(db.lastError().text());
    for (const char *table : {"item_result", "objective_result", "attempt"}) {
        if (!query.exec(QStringLiteral("DELETE FROM ") + QString::fromLatin1(table))) {
            fail(query.lastError().text());
            db.rollback();
            return false;
        }
    }
    if (!db.commit())
        return fail(db.lastError().text());
    // Deleted rows stay readable in free pages until the file is rebuilt.
    if (!query.exec(QStringLiteral("VACUUM")))
        return fail(query.lastError().text());
    return true;
}

QString defaultHistoryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/history.sqlite");
}

QString historyCsv(const QList<Attempt> &attempts)
{
    QString csv = QStringLiteral("Started,Exam,Title,Mode,Questions,Correct,Score,Passing Score,"
                                 "Result,Seconds Used\n");
    for (const Attempt &attempt : attempts) {
        const QStringList fields = {timeText(attempt.started),
                                    attempt.examCode,
                                    attempt.examTitle,
                                    attempt.modeName,
                                    QString::number(attempt.questionCount),
                                    QString::number(attempt.correctCount),
                                    QString::number(attempt.scaledScore),
                                    QString::number(attempt.passScore),
                                    attempt.passed ? QStringLiteral("Pass")
                                                   : QStringLiteral("Fail"),
                                    QString::number(attempt.secondsUsed())};
        QStringList quoted;
        for (const QString &field : fields)
            quoted.append(csvField(field));
        csv += quoted.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return csv;
}

QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}
