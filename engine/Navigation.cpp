#include "engine/Navigation.h"

#include "moduledb/QuestionBank.h"

#include <cmath>

namespace {

struct ReviewList
{
    OneBasedArray<int> *items;
    int *position;
};

std::optional<ReviewList> reviewList(TestState &state)
{
    switch (state.navMode) {
    case NavReviewMarked:
        return ReviewList{&state.markedItems, &state.reviewPosMarked};
    case NavReviewIncomplete:
        return ReviewList{&state.incompleteItems, &state.reviewPosIncomplete};
    case NavReviewIncorrect:
        return ReviewList{&state.incorrectItems, &state.reviewPosIncorrect};
    default:
        return std::nullopt;
    }
}

// Whether the mode allows stepping back from where its review list stands.
bool canGoBack(const TestState &state)
{
    switch (state.navMode) {
    case NavTakingTest:
        return true;
    case NavReviewMarked:
        return state.reviewPosMarked != 1;
    case NavReviewIncomplete:
        return state.reviewPosIncomplete != 1;
    case NavReviewIncorrect:
        return state.reviewPosIncorrect != 1;
    default:
        return false;
    }
}

} // namespace

NavCaptions navCaptions(const TestState &state)
{
    auto captions = [](const QString &what) {
        return NavCaptions{QStringLiteral("<< &Prev. ") + what, QStringLiteral("Previous ") + what,
                           QStringLiteral("&Next ") + what + QStringLiteral(" >>"),
                           QStringLiteral("Next ") + what, false};
    };
    NavCaptions result;
    switch (state.navMode) {
    case NavReviewMarked:
        return captions(QStringLiteral("Marked"));
    case NavReviewIncomplete:
        return captions(QStringLiteral("Incomplete"));
    case NavReviewIncorrect:
        return captions(QStringLiteral("Incorrect"));
    case NavReviewAll:
        result = captions(QStringLiteral("Item"));
        result.gotoEnabled = true;
        return result;
    default:
        result = captions(QStringLiteral("Item"));
        result.gotoEnabled = state.optPrevious;
        return result;
    }
}

ButtonStates buttonStates(const QuestionBank &bank, const TestState &state, int item)
{
    ButtonStates buttons;
    if (item == 1)
        buttons.previous = false;
    else if (item == state.testLength)
        buttons.previous = !state.testActive || state.optPrevious;
    else
        buttons.previous = !state.testActive || (canGoBack(state) && state.optPrevious);

    const Question &question = bank.questions[state.curQ];
    const int type = question.questionType;
    buttons.diagram = !question.diagramFile.isEmpty() && type != GraphicalDragAndDrop;
    buttons.exhibit = !question.exhibitFile.isEmpty();
    if (type < TextDragAndDrop) {
        buttons.task = false;
        buttons.answer = state.testActive && state.optAnswerButton;
    } else if (type == TextDragAndDrop || type == GraphicalDragAndDrop) {
        buttons.task = state.testActive;
        buttons.answer = !state.testActive || state.optAnswerButton;
    } else {
        buttons.task = state.testActive;
        buttons.answer = state.testActive && state.optAnswerButton;
    }
    return buttons;
}

WindowStates windowStates(const TestState &state)
{
    WindowStates states;
    states.markEnabled = state.testActive && state.optPrevious;
    states.listEnabled = !state.testActive || state.optPrevious;
    if (state.testActive) {
        states.endCaption = QStringLiteral("&Grade Test");
        states.endToolTip = QStringLiteral("Grade Test");
    } else {
        states.endCaption = QStringLiteral("View &Score");
        states.endToolTip = QStringLiteral("View Score");
    }
    return states;
}

NextOutcome advanceItem(TestState &state)
{
    if (const std::optional<ReviewList> list = reviewList(state)) {
        int &position = *list->position;
        position += 1;
        if (position > list->items->size()) {
            position = list->items->size();
            return NextOutcome::LeaveForList;
        }
        state.curItem = (*list->items)[position];
        return NextOutcome::ShowItem;
    }

    state.curItem += 1;
    if (state.curItem <= state.testLength)
        return NextOutcome::ShowItem;
    state.curItem = state.testLength;
    if (state.navMode == NavTakingTest && !state.optPrevious)
        return NextOutcome::AskToEndTest;
    return NextOutcome::LeaveForList;
}

bool stepBackItem(TestState &state)
{
    if (const std::optional<ReviewList> list = reviewList(state)) {
        int &position = *list->position;
        if (position <= 1) {
            position = 1;
            return false;
        }
        position -= 1;
        state.curItem = (*list->items)[position];
        return true;
    }
    if (state.curItem <= 1) {
        state.curItem = 1;
        return false;
    }
    state.curItem -= 1;
    return true;
}

std::optional<int> parseGotoItem(const QString &text, int testLength)
{
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    // The integer part is both what is checked and what is used, so 10.6 of 10 items is 10.
    const double whole = std::trunc(number);
    if (whole < 1 || whole > testLength)
        return std::nullopt;
    return int(whole);
}
