#include "History.h"

#include "common/MessageBoxes.h"

History::History(const QString &path) : m_path(path) {}

History::~History() = default;

HistoryStore *History::store()
{
    if (m_store || m_failed || m_path.isEmpty())
        return m_store.get();
    auto store = std::make_unique<HistoryStore>(m_path);
    if (!store->open()) {
        report(store->lastError());
        return nullptr;
    }
    m_store = std::move(store);
    return m_store.get();
}

void History::record(const Attempt &attempt)
{
    HistoryStore *open = store();
    if (open && open->record(attempt) == 0)
        report(open->lastError());
}

void History::report(const QString &error)
{
    if (m_failed)
        return;
    m_failed = true;
    m_store.reset();
    showMessage(QStringLiteral("Test History"),
                QStringLiteral("The history of your tests in %1 cannot be used (%2). Your "
                               "tests go on, but are not recorded.")
                    .arg(m_path, error),
                MessageIcon::Warning);
}
