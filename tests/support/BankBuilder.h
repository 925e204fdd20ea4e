#pragma once

#include "moduledb/QuestionBank.h"
#include "moduledb/TableReader.h"

// Builds a question bank in memory, question by question, with the detail rows each type
// needs and the counts the tables would hold, and the derived values set as the loader sets them.
// For engine tests and benchmarks that do not need a module file.
class BankBuilder
{
public:
    // Adds objectives 1..count, without questions yet.
    BankBuilder &objectives(int count)
    {
        for (int i = 1; i <= count; ++i) {
            Objective objective;
            objective.objectiveNo = quint8(m_bank.objectives.size() + 1);
            objective.objectiveName = QStringLiteral("Objective %1").arg(objective.objectiveNo);
            m_bank.objectives.append(objective);
        }
        return *this;
    }

    // Adds the next question: for types 1, 2, 4, 5 and 6 rows is its number of choices,
    // answer boxes or items; for type 7 its number of tasks; type 3 has one row. Types 5
    // and 6 get two drop targets.
    BankBuilder &question(int objectiveNo, int type, int rows = 4)
    {
        const qint16 id = qint16(m_bank.questions.size() + 1);
        Question question;
        question.questionId = id;
        question.questionCode = QStringLiteral("Q%1").arg(id).leftJustified(questionCodeLength);
        question.objectiveNo = quint8(objectiveNo);
        question.questionText = QStringLiteral("Question %1").arg(id);
        question.questionType = quint8(type);
        question.choiceCount = quint8(type == TypedAnswer ? 1 : rows);
        if (type == SingleAnswer || type == MultipleAnswers)
            question.answerKey = 1;
        if (type == TextDragAndDrop || type == GraphicalDragAndDrop)
            question.answerKey = 2;
        m_bank.questions.append(question);

        if (type == Simulation) {
            for (int row = 1; row <= question.choiceCount; ++row)
                m_bank.simRows.append(SimRow{id, quint8(row), QStringLiteral("R1"), 1,
                                             QStringLiteral("Task"), QStringLiteral("cmd"),
                                             QString()});
        } else {
            for (int row = 1; row <= question.choiceCount; ++row)
                m_bank.choiceRows.append(
                    ChoiceRow{id, quint8(row), QStringLiteral("Choice %1").arg(row), 0});
        }
        for (int row = 1; row <= question.answerKey && type >= TextDragAndDrop; ++row)
            m_bank.dndRows.append(DndRow{id, quint8(row), quint8(row), QString(), 0, 0, 0, 0});
        return *this;
    }

    // Adds count single-answer questions with the given number of choices to an objective.
    BankBuilder &questions(int objectiveNo, int count, int choices = 4)
    {
        for (int i = 0; i < count; ++i)
            question(objectiveNo, SingleAnswer, choices);
        return *this;
    }

    BankBuilder &examQuestions(int count, int durationMinutes)
    {
        m_bank.testInfo.examQuestionCount = qint16(count);
        m_bank.testInfo.durationMinutes = qint16(durationMinutes);
        return *this;
    }

    QuestionBank bank() const
    {
        QuestionBank bank = m_bank;
        for (Objective &objective : bank.objectives)
            objective.questionCount = 0;
        for (const Question &question : bank.questions)
            ++bank.objectives[question.objectiveNo].questionCount;
        bank.testInfo.totalQuestions = qint16(bank.questions.size());
        bank.testInfo.numObjectives = quint8(bank.objectives.size());
        setDerivedValues(bank);
        return bank;
    }

private:
    QuestionBank m_bank;
};
