// How much two Exam tests drawn one after the other repeat each other, and how the items of
// an Exam test spread over the objectives, for the module given (by default the bundled
// one). Over 1000 seeds: the mean number of questions the second test shares with the first.
//     bench_exam_overlap [archive.qdb]
#include "common/Random.h"
#include "engine/InitTest.h"
#include "engine/Selection.h"
#include "moduledb/ModulePreload.h"
#include "moduledb/QuestionBank.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <set>
#include <vector>

namespace {

std::set<int> drawExam(const QuestionBank &bank, TestState &state)
{
    std::set<int> questions;
    if (!InitTest(ExamMode, bank, state))
        return questions;
    for (int item = 1; item <= state.testLength; ++item)
        questions.insert(GetQueID(state, item));
    return questions;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString path = argc > 1
                             ? QString::fromLocal8Bit(argv[1])
                             : app.applicationDirPath() + QStringLiteral("/Module/512-330.qdb");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    const PreloadedModule module = preloadArchive(file.readAll());
    if (!module.tablesLoaded) {
        std::fprintf(stderr, "%s does not load\n", qPrintable(path));
        return 1;
    }
    const QuestionBank &bank = module.bank;
    const int objectives = bank.objectives.size();
    const int questions = bank.questions.size();
    std::vector<int> bankShare(std::size_t(objectives) + 1, 0);
    for (int q = 1; q <= questions; ++q)
        ++bankShare[bank.questions[q].objectiveNo];

    constexpr int seeds = 1000;
    std::vector<double> examShare(std::size_t(objectives) + 1, 0);
    std::vector<int> overlaps;
    int testLength = 0;
    TestState state;
    for (int seed = 1; seed <= seeds; ++seed) {
        Random::instance().seed(quint64(seed));
        const std::set<int> first = drawExam(bank, state);
        const std::set<int> second = drawExam(bank, state);
        testLength = state.testLength;
        std::vector<int> shared;
        std::set_intersection(first.begin(), first.end(), second.begin(), second.end(),
                              std::back_inserter(shared));
        overlaps.push_back(int(shared.size()));
        for (int q : first)
            examShare[bank.questions[q].objectiveNo] += 1.0 / seeds;
    }
    std::sort(overlaps.begin(), overlaps.end());
    double mean = 0;
    for (int overlap : overlaps)
        mean += double(overlap) / seeds;
    std::printf("%d questions, Exam tests of %d items, %d seeds\n", questions, testLength, seeds);
    std::printf("questions shared by two Exam tests: mean %.1f (%.0f %%), median %d, %d to %d\n",
                mean, 100 * mean / std::max(testLength, 1), overlaps[seeds / 2], overlaps.front(),
                overlaps.back());
    std::printf("objective  in bank        mean items per Exam test\n");
    for (int o = 1; o <= objectives; ++o)
        std::printf("%9d  %3d (%4.1f %%)   %4.1f (%4.1f %%)\n", o, bankShare[o],
                    100.0 * bankShare[o] / questions, examShare[o],
                    100.0 * examShare[o] / std::max(testLength, 1));
    return 0;
}
