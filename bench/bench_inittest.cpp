// Time of InitTest on a bank at full capacity: 1000 questions in 50 objectives (10 and 30
// questions in turn), 2 to 10 choices each. Prints the median and the slowest of many runs.
#include "BankBuilder.h"
#include "engine/InitTest.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QuestionBank fullBank()
{
    BankBuilder builder;
    builder.objectives(50).examQuestions(60, 90);
    for (int o = 1; o <= 50; ++o) {
        const int size = o % 2 ? 10 : 30;
        for (int k = 0; k < size; ++k)
            builder.question(o, k % 3 ? SingleAnswer : MultipleAnswers, 2 + (o + k) % 9);
    }
    return builder.bank();
}

void measure(const char *name, int mode, const QuestionBank &bank, const CustomSettings &custom)
{
    constexpr int runs = 200;
    std::vector<double> millis;
    TestState state;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const bool ready = InitTest(mode, bank, state, custom);
        millis.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!ready) {
            std::printf("%s: InitTest failed\n", name);
            return;
        }
    }
    std::sort(millis.begin(), millis.end());
    std::printf("%-36s %4d items  median %.3f ms  slowest %.3f ms\n", name, state.testLength,
                millis[runs / 2], millis.back());
}

} // namespace

int main()
{
    const QuestionBank bank = fullBank();
    CustomSettings custom;
    custom.txCustomQuestions = QStringLiteral("1000");
    custom.ckRndQues = true;
    custom.ckRndAns = true;
    measure("Custom, random questions and answers", CustomMode, bank, custom);
    measure("Exam", ExamMode, bank, {});
    return 0;
}
