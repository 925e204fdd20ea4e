#include "SampleModule.h"
#include "moduledb/BankCheck.h"
#include "moduledb/TableReader.h"

#include <QTest>

#include <utility>

namespace {

struct Damage
{
    const char *name;
    void (*apply)(QuestionBank &);
    const char *problem;
};

template <typename T> void swapRows(OneBasedArray<T> &rows, int a, int b)
{
    std::swap(rows[a], rows[b]);
}

const Damage damages[] = {
    {"header question count", [](QuestionBank &b) { b.testInfo.totalQuestions = 8; },
     "The module header counts 8 questions, but the question table holds 7."},
    {"header objective count", [](QuestionBank &b) { b.testInfo.numObjectives = 3; },
     "The module header counts 3 objectives, but the objective table holds 2."},
    {"empty question table",
     [](QuestionBank &b) { b.questions.fill(TableCapacity::questions, Question()); },
     "The module header counts 7 questions, but the question table holds 1000."},
    {"identifier is not the position", [](QuestionBank &b) { b.questions[3].questionId = 9; },
     "Question 3 has the identifier 9; a question's identifier must equal its position."},
    {"objective past the end", [](QuestionBank &b) { b.questions[2].objectiveNo = 14; },
     "Question 2 refers to objective 14, but the module has 2 objectives."},
    {"objective 0", [](QuestionBank &b) { b.questions[1].objectiveNo = 0; },
     "Question 1 refers to objective 0, but the module has 2 objectives."},
    {"unknown type code", [](QuestionBank &b) { b.questions[1].questionType = 9; },
     "Question 1 has the type 9, which the module does not define."},
    {"type missing from the type table", [](QuestionBank &b) { b.questionTypes.resize(6); },
     "Question 7 has the type 7, which the module does not define."},
    {"too many choices to show", [](QuestionBank &b) { b.questions[2].choiceCount = 11; },
     "Question 2 has 11 choices; at most 10 can be shown."},
    {"too many drag-and-drop items", [](QuestionBank &b) { b.questions[6].choiceCount = 12; },
     "Question 6 has 12 choices; at most 10 can be shown."},
    {"no rows", [](QuestionBank &b) { b.questions[3].choiceCount = 0; }, "Question 3 has no rows."},
    {"no drop targets", [](QuestionBank &b) { b.questions[5].answerKey = 0; },
     "Question 5 has no drop targets."},
    {"objective count", [](QuestionBank &b) { b.objectives[1].questionCount = 5; },
     "Objective 1 counts 5 questions, but 4 questions belong to it."},
    {"missing choice row",
     [](QuestionBank &b) {
         OneBasedArray<ChoiceRow> rows;
         for (int j = 1; j <= b.choiceRows.size(); ++j) {
             if (j != 2)
                 rows.append(b.choiceRows[j]);
         }
         b.choiceRows = rows;
     },
     "Question 1 has 2 choice rows, but needs 3."},
    {"drop target on a single-answer question",
     [](QuestionBank &b) {
         b.dndRows.append({1, 1, 0, QString(), 0, 0, 0, 0});
     },
     "Question 1 has 1 drop targets, but needs 0."},
    {"missing simulation task", [](QuestionBank &b) { b.questions[7].choiceCount = 3; },
     "Question 7 has 2 simulation tasks, but needs 3."},
    {"blocks out of bank order",
     [](QuestionBank &b) {
         // The rows of question 2 (4 to 7) move in front of those of question 1 (1 to 3).
         OneBasedArray<ChoiceRow> rows;
         for (int j : {4, 5, 6, 7, 1, 2, 3})
             rows.append(b.choiceRows[j]);
         for (int j = 8; j <= b.choiceRows.size(); ++j)
             rows.append(b.choiceRows[j]);
         b.choiceRows = rows;
     },
     "The choice rows of question 2 do not follow those of the questions before it."},
    {"rows numbered out of order", [](QuestionBank &b) { swapRows(b.choiceRows, 10, 11); },
     "The choice rows of question 4 are not numbered 1 to 4 in one block."},
    {"block split by another question's row", [](QuestionBank &b) { swapRows(b.choiceRows, 7, 8); },
     "The choice rows of question 2 are not numbered 1 to 4 in one block."},
    {"drop target expects a missing item", [](QuestionBank &b) { b.dndRows[1].correctSource = 4; },
     "Drop target 1 of question 5 expects item 4, but the question has 3 items."},
    {"task uses a missing prompt", [](QuestionBank &b) { b.simRows[2].promptNo = 3; },
     "Task 2 of question 7 uses prompt 3, but the module has 2 prompts."},
};

} // namespace

class TestBankCheck : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sampleModulePasses();
    void emptyDetailTablesPass();
    void damagedBankIsRefused_data();
    void damagedBankIsRefused();
};

void TestBankCheck::sampleModulePasses()
{
    QCOMPARE(checkBank(sampleBank()), std::nullopt);
}

void TestBankCheck::emptyDetailTablesPass()
{
    // Without drag-and-drop and simulation questions those tables load as their full
    // capacity of empty records.
    QuestionBank bank = sampleBank();
    bank.questions.resize(4);
    bank.testInfo.totalQuestions = 4;
    bank.objectives[1].questionCount = 2;
    bank.objectives[2].questionCount = 2;
    bank.choiceRows.resize(12);
    bank.dndRows.fill(TableCapacity::dndRows, DndRow());
    bank.simRows.fill(TableCapacity::simRows, SimRow());
    QCOMPARE(checkBank(bank), std::nullopt);
}

void TestBankCheck::damagedBankIsRefused_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(damages)); ++i)
        QTest::newRow(damages[i].name) << i;
}

void TestBankCheck::damagedBankIsRefused()
{
    QFETCH(int, index);
    QuestionBank bank = sampleBank();
    damages[index].apply(bank);
    QCOMPARE(checkBank(bank), std::optional(QString::fromUtf8(damages[index].problem)));
}

QTEST_GUILESS_MAIN(TestBankCheck)
#include "tst_bankcheck.moc"
