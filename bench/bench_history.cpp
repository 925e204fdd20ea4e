// The history's costs at scale: recording a graded test of 1000 items, and opening the
// history window on 1000 recorded attempts of 60 items in 10 objectives. Works in a
// temporary folder; prints the median and the slowest of several runs.
#include "app/HistoryWindow.h"
#include "engine/TestState.h"
#include "history/HistoryStore.h"
#include "moduledb/QuestionBank.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

Attempt attemptOf(int items, int day)
{
    Attempt attempt;
    attempt.examCode = QStringLiteral("512-330");
    attempt.examTitle = QStringLiteral("Benchmark exam");
    attempt.mode = StudyMode;
    attempt.modeName = QStringLiteral("study");
    attempt.started = QDateTime(QDate(2026, 1, 1), QTime(9, 0), Qt::UTC).addSecs(day * 3600LL);
    attempt.ended = attempt.started.addSecs(1800);
    attempt.questionCount = items;
    attempt.passScore = 700;
    for (int objective = 1; objective <= 10; ++objective)
        attempt.objectives.append(
            {objective, QStringLiteral("Objective %1").arg(objective), (objective + day) % 7, 6});
    for (int item = 1; item <= items; ++item)
        attempt.items.append({item, QStringLiteral("Q%1").arg(item), SingleAnswer,
                              QString::number(1 << (item % 4)),
                              item % 3 ? StatusCorrect : StatusIncorrect});
    attempt.correctCount = items * 2 / 3;
    attempt.scaledScore = 1000 * attempt.correctCount / items;
    attempt.passed = attempt.scaledScore >= attempt.passScore;
    return attempt;
}

void report(const char *name, std::vector<double> millis)
{
    std::sort(millis.begin(), millis.end());
    std::printf("%-44s median %7.2f ms, slowest %7.2f ms (%zu runs)\n", name,
                millis[millis.size() / 2], millis.back(), millis.size());
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;

    {
        HistoryStore store(dir.filePath(QStringLiteral("record.sqlite")));
        if (!store.open()) {
            std::printf("cannot open: %s\n", qPrintable(store.lastError()));
            return 1;
        }
        std::vector<double> millis;
        for (int run = 0; run < 20; ++run) {
            const Attempt attempt = attemptOf(1000, run);
            QElapsedTimer timer;
            timer.start();
            if (store.record(attempt) == 0) {
                std::printf("record failed: %s\n", qPrintable(store.lastError()));
                return 1;
            }
            millis.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        report("record a graded test of 1000 items", millis);
    }

    HistoryStore store(dir.filePath(QStringLiteral("window.sqlite")));
    store.open();
    for (int day = 0; day < 1000; ++day)
        store.record(attemptOf(60, day));
    QuestionBank bank;
    bank.testInfo.examCode = QStringLiteral("512-330");
    bank.testInfo.passingScore = 700;
    std::vector<double> millis;
    for (int run = 0; run < 10; ++run) {
        QElapsedTimer timer;
        timer.start();
        HistoryWindow window(bank, store, QStringLiteral("Bench"), true);
        window.show();
        QApplication::processEvents();
        millis.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    report("open the history window on 1000 attempts", millis);
    return 0;
}
