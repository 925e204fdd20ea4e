// Time of one move in the test window (save the answer, remove the controls, draw the next
// item, restore its answer, restack the answer area) between questions of ten choices and
// between questions of four typed values. Prints the median and the slowest move.
#include "BankBuilder.h"
#include "common/Random.h"
#include "engine/InitTest.h"
#include "testwindow/TestWindow.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// Processor time of this thread, so moves can be told apart from waits for a busy machine.
double threadCpuMillis()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

QuestionBank bankOf(int type, int rows)
{
    BankBuilder builder;
    builder.objectives(1).examQuestions(20, 90);
    for (int k = 0; k < 20; ++k)
        builder.question(1, type, rows);
    QuestionBank bank = builder.bank();
    for (Question &question : bank.questions)
        question.questionText = QStringLiteral("Which of these statements about the network "
                                               "shown is true? ")
                                    .repeated(3);
    return bank;
}

void measure(const char *name, const QuestionBank &bank)
{
    TestState state;
    Random::instance().seed(1);
    if (!InitTest(StudyMode, bank, state)) {
        std::printf("%s: InitTest failed\n", name);
        return;
    }
    TestWindow window(bank, state);
    window.resize(1024, 700);
    window.load();
    window.show();
    // The first moves fill the font and style caches; they are not what a user waits for.
    window.NextQuestion();
    window.PreviousQuestion();
    QApplication::processEvents();

    constexpr int moves = 400;
    std::vector<double> millis;
    std::vector<double> cpuMillis;
    for (int move = 0; move < moves; ++move) {
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = threadCpuMillis();
        // Forward through the test and back again, never reaching either end.
        if ((move / (state.testLength - 1)) % 2 == 0)
            window.NextQuestion();
        else
            window.PreviousQuestion();
        QApplication::processEvents();
        millis.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpuMillis.push_back(threadCpuMillis() - cpuStart);
    }
    std::sort(millis.begin(), millis.end());
    std::sort(cpuMillis.begin(), cpuMillis.end());
    std::printf("%-28s median %.3f ms  95th %.3f ms  slowest %.3f ms  (%d moves)\n", name,
                millis[moves / 2], millis[moves * 95 / 100], millis.back(), moves);
    std::printf("%-28s processor time: median %.3f ms  95th %.3f ms  slowest %.3f ms\n", "",
                cpuMillis[moves / 2], cpuMillis[moves * 95 / 100], cpuMillis.back());
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    measure("next item, 10 choices", bankOf(SingleAnswer, 10));
    measure("next item, 4 typed values", bankOf(TypedValues, 4));
    return 0;
}
