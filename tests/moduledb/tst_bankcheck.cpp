#include "BankBuilder.h"
#include "SampleModule.h"
#include "moduledb/BankCheck.h"

#include <QTest>

#include <functional>
#include <utility>

using Damage = std::function<void(QuestionBank &)>;

class TestBankCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bank_data()
    {
        QTest::addColumn<QString>("problem");
        QTest::addColumn<Damage>("damage");
        const auto row = [](const char *name, const char *problem, const Damage &damage) {
            QTest::newRow(name) << QString::fromUtf8(problem) << damage;
        };
        row("sample module", "", [](QuestionBank &) {});
        // Without drag-and-drop and simulation questions those tables load as their capacity
        // of empty records.
        row("empty detail tables", "", [](QuestionBank &b) {
            QuestionBank singleAnswers = BankBuilder().objectives(1).questions(1, 2).bank();
            singleAnswers.questionTypes = b.questionTypes;
            b = singleAnswers;
            b.dndRows.fill(TableCapacity::dndRows, DndRow());
            b.simRows.fill(TableCapacity::simRows, SimRow());
        });
        row("header question count",
            "The module header counts 8 questions, but the question table holds 7.",
            [](QuestionBank &b) { b.testInfo.totalQuestions = 8; });
        row("header objective count",
            "The module header counts 3 objectives, but the objective table holds 2.",
            [](QuestionBank &b) { b.testInfo.numObjectives = 3; });
        row("identifier is not the position",
            "Question 3 has the identifier 9; a question's identifier must equal its position.",
            [](QuestionBank &b) { b.questions[3].questionId = 9; });
        row("objective past the end",
            "Question 2 refers to objective 14, but the module has 2 objectives.",
            [](QuestionBank &b) { b.questions[2].objectiveNo = 14; });
        row("type missing from the type table",
            "Question 7 has the type 7, which the module does not define.",
            [](QuestionBank &b) { b.questionTypes.resize(6); });
        row("too many choices to show", "Question 2 has 11 choices; at most 10 can be shown.",
            [](QuestionBank &b) { b.questions[2].choiceCount = 11; });
        row("no rows", "Question 3 has no rows.",
            [](QuestionBank &b) { b.questions[3].choiceCount = 0; });
        row("answer key marks a missing choice",
            "Question 1 has the answer key 8, which does not fit its 3 choices.",
            [](QuestionBank &b) { b.questions[1].answerKey = 8; });
        row("no drop targets", "Question 5 has no drop targets.",
            [](QuestionBank &b) { b.questions[5].answerKey = 0; });
        row("objective count", "Objective 1 counts 5 questions, but 4 questions belong to it.",
            [](QuestionBank &b) { b.objectives[1].questionCount = 5; });
        row("missing choice row", "Question 1 has 2 choice rows, but needs 3.",
            [](QuestionBank &b) { b.choiceRows[2].questionId = 99; });
        row("drop target on a single-answer question",
            "Question 1 has 1 drop targets, but needs 0.", [](QuestionBank &b) {
                b.dndRows.append({1, 1, 0, QString(), 0, 0, 0, 0});
            });
        row("missing simulation task", "Question 7 has 2 simulation tasks, but needs 3.",
            [](QuestionBank &b) { b.questions[7].choiceCount = 3; });
        // The rows of question 2 (4 to 7) move in front of those of question 1 (1 to 3).
        row("blocks out of bank order",
            "The choice rows of question 2 do not follow those of the questions before it.",
            [](QuestionBank &b) {
                for (int j = 4; j <= 7; ++j) {
                    for (int k = j; k > j - 3; --k)
                        std::swap(b.choiceRows[k], b.choiceRows[k - 1]);
                }
            });
        row("rows numbered out of order",
            "The choice rows of question 4 are not numbered 1 to 4 in one block.",
            [](QuestionBank &b) { std::swap(b.choiceRows[10], b.choiceRows[11]); });
        row("drop target expects a missing item",
            "Drop target 1 of question 5 expects item 4, but the question has 3 items.",
            [](QuestionBank &b) { b.dndRows[1].correctSource = 4; });
        row("task uses a missing prompt",
            "Task 2 of question 7 uses prompt 3, but the module has 2 prompts.",
            [](QuestionBank &b) { b.simRows[2].promptNo = 3; });
    }
    void bank()
    {
        QFETCH(QString, problem);
        QFETCH(Damage, damage);
        QuestionBank bank = sampleBank();
        damage(bank);
        QCOMPARE(checkBank(bank), problem.isEmpty() ? std::nullopt : std::optional(problem));
    }
};

QTEST_GUILESS_MAIN(TestBankCheck)
#include "tst_bankcheck.moc"
