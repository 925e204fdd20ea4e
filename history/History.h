#pragma once

#include "history/HistoryStore.h"

#include <QString>

#include <memory>

// The history as the program uses it: the file is opened when first needed, and a file
// that cannot be opened or written is reported once in a message box, after which the
// program goes on without it.
class History
{
public:
    // An empty path keeps no history.
    explicit History(const QString &path);
    ~History();

    // The open store; null when there is none.
    HistoryStore *store();
    // Records a graded test, when the history can.
    void record(const Attempt &attempt);

private:
    void report(const QString &error);

    QString m_path;
    std::unique_ptr<HistoryStore> m_store;
    bool m_failed = false;
};
