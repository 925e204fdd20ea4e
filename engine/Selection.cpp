#include "Selection.h"

#include "RuntimeError.h"
#include "common/MessageBoxes.h"
#include "common/Random.h"
#include "moduledb/QuestionBank.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

// Draws from 1..m until the value is not taken yet, and takes it. Each slot is compared with
// every slot filled before it and drawn again on a match; the table of taken values answers
// that comparison at once, so the draws are the same and a 1000-item test stays fast.
int drawDistinct(int m, std::vector<char> &taken)
{
    for (;;) {
        const int value = Random::instance().drawFrom(m);
        if (!taken.at(std::size_t(value))) {
            taken[std::size_t(value)] = 1;
            return value;
        }
    }
}

// The bank question of an item; throws on an item or position outside the test.
int questionOfItem(const TestState &state, int item)
{
    // Positions past the test hold no question; reading one is a caller's fault.
    if (item < 1 || item > state.testLength)
        throw std::out_of_range("item outside the test");
    if (state.optRandomQuestions)
        return state.objQueID[state.rndQueID[item]];
    return state.objQueID[item];
}

} // namespace

bool InitObjQueID(const QuestionBank &bank, TestState &state, int objectiveCount, int wanted,
                  const QList<int> &questionNos)
{
    return guarded(QStringLiteral("Function Name: InitObjQueIDErr"), false, [&] {
        const int c = std::min(objectiveCount, bank.objectives.size());
        const int n = bank.questions.size();
        state.testLength = 0;
        state.objOrder.fill(c, 0);
        state.objQue.fill(c, {});
        state.objQuota.fill(c, 0);
        state.objList.fill(c, 0);
        state.objListCount = 0;
        state.objQueID.fill(n, 0);

        // The questions of each objective in bank order, by position (which a checked bank
        // also has as questionId). Sizes are counted from the questions themselves, so a
        // header count that disagrees cannot send a draw past the end or into a loop.
        std::vector<char> drawable(std::size_t(n) + 1, questionNos.isEmpty() ? 1 : 0);
        for (int q : questionNos) {
            if (q >= 1 && q <= n)
                drawable[std::size_t(q)] = 1;
        }
        std::vector<std::vector<int>> questionsOf(std::size_t(c) + 1);
        for (int q = 1; q <= n; ++q) {
            if (!drawable[std::size_t(q)])
                continue;
            const int o = bank.questions[q].objectiveNo;
            if (o >= 1 && o <= c)
                questionsOf[std::size_t(o)].push_back(q);
        }
        auto sizeOf = [&](int o) { return int(questionsOf[std::size_t(o)].size()); };
        int smallest = 0;
        for (int o = 1; o <= c; ++o) {
            if (sizeOf(o) > 0 && (smallest == 0 || sizeOf(o) < smallest))
                smallest = sizeOf(o);
        }
        auto takesPart = [&](int o) {
            return sizeOf(o) > 0 && state.objSelected.contains(o) && state.objSelected[o];
        };

        if (state.optRandomQuestions) {
            std::vector<char> taken(std::size_t(c) + 1, 0);
            for (int i = 1; i <= c; ++i)
                state.objOrder[i] = drawDistinct(c, taken);
        } else {
            for (int i = 1; i <= c; ++i)
                state.objOrder[i] = i;
        }

        for (int i = 1; i <= c; ++i) {
            const int o = state.objOrder[i];
            if (!takesPart(o))
                continue;
            state.testLength += sizeOf(o);
            for (int q : questionsOf[std::size_t(o)])
                state.objQue[o].append(q);
        }
        if (state.testLength == 0) {
            showMessage(QStringLiteral("Sorry!"),
                        QStringLiteral("No questions are available from the objectives you "
                                       "selected.\n\nPlease select other objectives."),
                        MessageIcon::Information, MessageButtons::Ok);
            return false;
        }
        if (wanted >= 1 && state.testLength > wanted)
            state.testLength = wanted;

        // One item for each objective while room remains.
        int assigned = 0;
        for (int i = 1; i <= c && assigned < state.testLength; ++i) {
            const int o = state.objOrder[i];
            if (!takesPart(o))
                continue;
            state.objQuota[o] = 1;
            state.objList[++state.objListCount] = o;
            ++assigned;
        }

        // The rest in passes, each objective gaining its size over the smallest per pass.
        while (assigned < state.testLength) {
            for (int i = 1; i <= c && assigned < state.testLength; ++i) {
                const int o = state.objOrder[i];
                if (!takesPart(o) || state.objQuota[o] >= sizeOf(o))
                    continue;
                for (int share = sizeOf(o) / smallest; share > 0; --share) {
                    ++state.objQuota[o];
                    ++assigned;
                    if (assigned >= state.testLength || state.objQuota[o] == sizeOf(o))
                        break;
                }
            }
        }

        std::vector<char> used(std::size_t(n) + 1, 0);
        int pos = 1;
        for (int i = 1; i <= state.objListCount && pos <= state.testLength; ++i) {
            const int o = state.objList[i];
            for (int k = 1; k <= state.objQuota[o] && pos <= state.testLength; ++k, ++pos) {
                if (state.optRandomQuestions) {
                    int q = 0;
                    do {
                        q = state.objQue[o][Random::instance().drawFrom(sizeOf(o))];
                    } while (used.at(std::size_t(q)));
                    used[std::size_t(q)] = 1;
                    state.objQueID[pos] = q;
                } else {
                    state.objQueID[pos] = state.objQue[o][k];
                }
            }
        }
        return true;
    });
}

void InitRndQueID(TestState &state, int n)
{
    if (state.rndQueID.size() < n)
        state.rndQueID.resize(n);
    std::vector<char> taken(std::size_t(std::max(n, 0)) + 1, 0);
    for (int i = 1; i <= n; ++i)
        state.rndQueID[i] = drawDistinct(n, taken);
}

void InitAnsID(const QuestionBank &bank, TestState &state, int n)
{
    guarded(QStringLiteral("Procedure Name: InitAnsID"), [&] {
        for (int i = 1; i <= n; ++i) {
            const int q = questionOfItem(state, i);
            const Question &question = bank.questions[q];
            // Typed answers and simulation tasks keep their order.
            if (question.questionType == TypedAnswer || question.questionType == TypedValues ||
                question.questionType == Simulation)
                continue;
            if (state.ansOrder.size() < q)
                state.ansOrder.resize(q);
            OneBasedArray<int> &order = state.ansOrder[q];
            if (order.size() < maxChoices)
                order.resize(maxChoices);
            const int choices = std::min(int(question.choiceCount), maxChoices);
            std::vector<char> taken(std::size_t(choices) + 1, 0);
            for (int d = 1; d <= choices; ++d)
                order[d] = drawDistinct(choices, taken);
        }
    });
}

int GetQueID(const TestState &state, int item)
{
    return guarded(QStringLiteral("Function Name: GetQueID"), 0,
                   [&] { return questionOfItem(state, item); });
}
