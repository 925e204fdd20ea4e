#include "ModuleValidation.h"

#include "common/Twips.h"
#include "moduledb/Ansi.h"
#include "moduledb/BankCheck.h"

#include <QFileInfo>
#include <QHash>
#include <QRect>

#include <bit>

namespace {

const QString moduleFile = QStringLiteral("module.json: ");
const QString questionFiles = QStringLiteral("questions/: ");

class Validator
{
public:
    explicit Validator(const ModuleSource &source) : m_source(source), m_bank(source.bank) {}

    QStringList run()
    {
        checkInfo();
        checkArchive();
        checkTables();
        for (int q = 1; q <= m_bank.questions.size(); ++q)
            checkQuestion(q);
        return m_errors;
    }

private:
    void text(const QString &where, const QString &field, const QString &value)
    {
        if (const auto problem = ansiProblem(value)) {
            m_errors.append(where + field + QStringLiteral(": ") + *problem);
            return;
        }
        const qsizetype length = toAnsi(value)->size();
        if (length > maxTextBytes)
            m_errors.append(
                where + field +
                QStringLiteral(" is %1 bytes long, the most is %2").arg(length).arg(maxTextBytes));
    }

    // Text a reader or a candidate cannot do without.
    void required(const QString &where, const QString &field, const QString &value)
    {
        if (value.trimmed().isEmpty())
            m_errors.append(where + field + QStringLiteral(" must not be empty"));
    }

    // Typed text is compared without its outer spaces: stored with them it never matches.
    void typable(const QString &where, const QString &field, const QString &value)
    {
        required(where, field, value);
        if (!value.trimmed().isEmpty() && value != value.trimmed())
            m_errors.append(where + field +
                            QStringLiteral(" \"%1\" has spaces at an end, which typing never "
                                           "matches")
                                .arg(value));
    }

    void checkInfo()
    {
        const TestInfo &info = m_bank.testInfo;
        const QString where = moduleFile + QStringLiteral("info.");
        required(where, QStringLiteral("examCode"), info.examCode);
        required(where, QStringLiteral("examTitle"), info.examTitle);
        text(where, QStringLiteral("examCode"), info.examCode);
        text(where, QStringLiteral("examTitle"), info.examTitle);
        text(where, QStringLiteral("dbVersion"), info.dbVersion);
        text(where, QStringLiteral("dbRelease"), info.dbRelease);
        text(where, QStringLiteral("description"), info.description);
        text(where, QStringLiteral("notes"), info.notes);
        if (info.examQuestionCount < 1)
            m_errors.append(where + QStringLiteral("examQuestionCount %1 must be at least 1")
                                        .arg(info.examQuestionCount));
        if (info.passingScore < 0 || info.passingScore > 1000)
            m_errors.append(
                where +
                QStringLiteral("passingScore %1 must be from 0 to 1000").arg(info.passingScore));
        if (info.durationMinutes < 1)
            m_errors.append(
                where +
                QStringLiteral("durationMinutes %1 must be at least 1").arg(info.durationMinutes));
        if (info.totalQuestions != m_bank.questions.size())
            m_errors.append(where +
                            QStringLiteral("totalQuestions %1 differs from the %2 questions")
                                .arg(info.totalQuestions)
                                .arg(m_bank.questions.size()));
        if (info.numObjectives != m_bank.objectives.size())
            m_errors.append(where +
                            QStringLiteral("numObjectives %1 differs from the %2 objectives")
                                .arg(info.numObjectives)
                                .arg(m_bank.objectives.size()));
    }

    void checkArchive()
    {
        const QString where = moduleFile + QStringLiteral("archive.");
        const ArchiveLayout &layout = m_source.layout;
        if (m_source.entryPrefix.contains(u'_') || m_source.entryPrefix.contains(u'.'))
            m_errors.append(where +
                            QStringLiteral("entryPrefix \"%1\" must not contain \"_\" or \".\"")
                                .arg(m_source.entryPrefix));
        for (const auto &[field, value] :
             {std::pair{QStringLiteral("entryPrefix"), m_source.entryPrefix},
              std::pair{QStringLiteral("entryExtension"), m_source.entryExtension}}) {
            if (const auto problem = ansiProblem(value))
                m_errors.append(where + field + QStringLiteral(": ") + *problem);
        }
        const qsizetype longestName =
            tableEntryName(m_source.entryPrefix, QStringLiteral("questiontype"),
                           m_source.entryExtension)
                .size();
        if (longestName > 255)
            m_errors.append(where + QStringLiteral("entryPrefix and entryExtension make entry "
                                                   "names %1 bytes long, the most is 255")
                                        .arg(longestName));
        if (layout.filler.size() > maxFillerBytes)
            m_errors.append(where + QStringLiteral("filler is %1 bytes long, the most is %2")
                                        .arg(layout.filler.size())
                                        .arg(maxFillerBytes));
        for (const auto &[field, value] :
             {std::pair{QStringLiteral("headerString1"), layout.headerString1},
              std::pair{QStringLiteral("headerString2"), layout.headerString2}}) {
            if (value.size() > 255)
                m_errors.append(
                    where + field +
                    QStringLiteral(" is %1 bytes long, the most is 255").arg(value.size()));
        }
        if (layout.blockSize < 1 || layout.blockSize > maxBlockSize)
            m_errors.append(where + QStringLiteral("blockSize %1 must be from 1 to %2")
                                        .arg(layout.blockSize)
                                        .arg(maxBlockSize));
        if (m_source.reserved.size() != reservedBytes)
            m_errors.append(where + QStringLiteral("reserved must be %1 bytes").arg(reservedBytes));
        QStringList seen;
        for (const TextEntry &entry : m_source.textEntries) {
            const QString name = entry.name.toLower();
            // Only these two are written beside the program; any other entry would be taken
            // for a table file and deleted after loading.
            if (name != QStringLiteral("readme.txt") && name != QStringLiteral("eula.txt"))
                m_errors.append(where + QStringLiteral("textEntries: \"%1\" is neither readme.txt "
                                                       "nor eula.txt")
                                            .arg(entry.name));
            else if (seen.contains(name))
                m_errors.append(
                    where + QStringLiteral("textEntries: \"%1\" is named twice").arg(entry.name));
            seen.append(name);
        }
    }

    bool checkCapacity(const QString &where, qsizetype count, int capacity, const QString &what)
    {
        if (count <= capacity)
            return true;
        m_errors.append(where + QStringLiteral("%1 %2, the most a module may hold is %3")
                                    .arg(count)
                                    .arg(what)
                                    .arg(capacity));
        return false;
    }

    void checkPosition(const QString &where, const QString &field, int value, int position)
    {
        if (value != position)
            m_errors.append(where + QStringLiteral("%1 %2 differs from its position %3")
                                        .arg(field)
                                        .arg(value)
                                        .arg(position));
    }

    void checkTables()
    {
        const int objectiveCount = m_bank.objectives.size();
        if (objectiveCount == 0)
            m_errors.append(moduleFile + QStringLiteral("objectives: a module needs at least one"));
        if (checkCapacity(moduleFile + QStringLiteral("objectives: "), objectiveCount,
                          TableCapacity::objectives, QStringLiteral("objectives"))) {
            for (int i = 1; i <= objectiveCount; ++i) {
                const Objective &row = m_bank.objectives[i];
                const QString where =
                    moduleFile +
                    QStringLiteral("objective %1 (%2): ").arg(i).arg(row.objectiveName);
                checkPosition(where, QStringLiteral("objectiveNo"), row.objectiveNo, i);
                text(where, QStringLiteral("objectiveName"), row.objectiveName);
                const int questions = derivedQuestionCount(m_bank, i);
                if (row.questionCount != questions)
                    m_errors.append(where +
                                    QStringLiteral("questionCount %1 differs from its %2 questions")
                                        .arg(row.questionCount)
                                        .arg(questions));
                else if (questions == 0)
                    m_errors.append(where + QStringLiteral("no question belongs to it"));
            }
        }
        if (checkCapacity(moduleFile + QStringLiteral("prompts: "), m_bank.prompts.size(),
                          TableCapacity::prompts, QStringLiteral("prompts"))) {
            for (int i = 1; i <= m_bank.prompts.size(); ++i) {
                const Prompt &row = m_bank.prompts[i];
                const QString where =
                    moduleFile + QStringLiteral("prompt %1 (%2): ").arg(i).arg(row.promptText);
                checkPosition(where, QStringLiteral("promptNo"), row.promptNo, i);
                text(where, QStringLiteral("promptText"), row.promptText);
            }
        }
        if (m_bank.questionTypes.isEmpty())
            m_errors.append(moduleFile +
                            QStringLiteral("questionTypes: a module needs at least one"));
        if (checkCapacity(moduleFile + QStringLiteral("questionTypes: "),
                          m_bank.questionTypes.size(), TableCapacity::questionTypes,
                          QStringLiteral("question types"))) {
            for (int i = 1; i <= m_bank.questionTypes.size(); ++i) {
                const QuestionType &row = m_bank.questionTypes[i];
                const QString where =
                    moduleFile + QStringLiteral("question type %1 (%2): ").arg(i).arg(row.typeName);
                checkPosition(where, QStringLiteral("typeCode"), row.typeCode, i);
                text(where, QStringLiteral("typeName"), row.typeName);
                text(where, QStringLiteral("typeCaption"), row.typeCaption);
            }
        }
        if (m_bank.questions.isEmpty())
            m_errors.append(questionFiles + QStringLiteral("a module needs at least one question"));
        checkCapacity(questionFiles, m_bank.questions.size(), TableCapacity::questions,
                      QStringLiteral("questions"));
        checkCapacity(questionFiles, m_bank.choiceRows.size(), TableCapacity::choiceRows,
                      QStringLiteral("choices, answers, values and items"));
        checkCapacity(questionFiles, m_bank.dndRows.size(), TableCapacity::dndRows,
                      QStringLiteral("drag-and-drop targets"));
        checkCapacity(questionFiles, m_bank.simRows.size(), TableCapacity::simRows,
                      QStringLiteral("simulation tasks"));

        for (int i = 1; i <= m_bank.choiceRows.size(); ++i)
            m_choiceRowsOf[m_bank.choiceRows[i].questionId].append(i);
        for (int i = 1; i <= m_bank.dndRows.size(); ++i)
            m_dndRowsOf[m_bank.dndRows[i].questionId].append(i);
        for (int i = 1; i <= m_bank.simRows.size(); ++i)
            m_simRowsOf[m_bank.simRows[i].questionId].append(i);
    }

    void checkFileName(const QString &where, const QString &field, const QString &name)
    {
        if (name.isEmpty())
            return;
        // The name is appended to the module folder: it must not lead anywhere else.
        if (name.contains(u'/') || name.contains(u'\\') || name == QStringLiteral("..") ||
            name == QStringLiteral("."))
            m_errors.append(
                where +
                QStringLiteral("%1 \"%2\" must be a file name without a folder").arg(field, name));
        else if (m_source.availableFiles && !m_source.availableFiles->contains(name))
            m_errors.append(where + QStringLiteral("%1 \"%2\" is not in files/").arg(field, name));
    }

    static QString plural(int count, const QString &noun)
    {
        return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? noun : noun + u's');
    }

    void checkQuestion(int q)
    {
        const Question &question = m_bank.questions[q];
        const QString where = questionWhere(m_source, q);
        text(where, QStringLiteral("questionCode"), question.questionCode);
        if (question.questionCode.size() > questionCodeLength)
            m_errors.append(where +
                            QStringLiteral("questionCode \"%1\" is longer than %2 characters")
                                .arg(question.questionCode)
                                .arg(questionCodeLength));
        // The code is the only name a question has for its readers; two alike would be
        // confused in the item line and in reports.
        const QString code = question.questionCode.trimmed();
        if (!code.isEmpty()) {
            if (const int first = m_firstWithCode.value(code); first != 0)
                m_errors.append(where + QStringLiteral("questionCode \"%1\" is also the code of "
                                                       "question %2")
                                            .arg(code)
                                            .arg(first));
            else
                m_firstWithCode.insert(code, q);
        }
        required(where, QStringLiteral("questionCode"), question.questionCode);
        required(where, QStringLiteral("questionText"), question.questionText);
        text(where, QStringLiteral("questionText"), question.questionText);
        text(where, QStringLiteral("diagramFile"), question.diagramFile);
        text(where, QStringLiteral("exhibitFile"), question.exhibitFile);
        text(where, QStringLiteral("explanation"), question.explanation);
        text(where, QStringLiteral("reference"), question.reference);
        checkFileName(where, QStringLiteral("diagramFile"), question.diagramFile);
        checkFileName(where, QStringLiteral("exhibitFile"), question.exhibitFile);

        if (question.objectiveNo < 1 || question.objectiveNo > m_bank.objectives.size())
            m_errors.append(
                where + QStringLiteral("objectiveNo %1 does not exist (the module has "
                                       "%2)")
                            .arg(question.objectiveNo)
                            .arg(plural(m_bank.objectives.size(), QStringLiteral("objective"))));
        const int type = question.questionType;
        if (type < 1 || type > m_bank.questionTypes.size()) {
            m_errors.append(where + QStringLiteral("questionType %1 does not exist (the module has "
                                                   "%2)")
                                        .arg(type)
                                        .arg(plural(m_bank.questionTypes.size(),
                                                    QStringLiteral("question type"))));
            return;
        }
        if (type > Simulation) {
            m_errors.append(
                where +
                QStringLiteral("questionType %1 is not a known question type (1 to 7)").arg(type));
            return;
        }
        if (question.questionId != q) {
            m_errors.append(where + QStringLiteral("questionId %1 differs from its position %2")
                                        .arg(question.questionId)
                                        .arg(q));
            return;
        }
        checkRows(where, question);
    }

    void checkRows(const QString &where, const Question &question)
    {
        const int type = question.questionType;
        const QList<int> choices = m_choiceRowsOf.value(question.questionId);
        const QList<int> targets = m_dndRowsOf.value(question.questionId);
        const QList<int> tasks = m_simRowsOf.value(question.questionId);
        const QString noun = choiceRowNoun(type);
        const bool usesChoices = type != Simulation;
        const bool usesTargets = type == TextDragAndDrop || type == GraphicalDragAndDrop;

        if (!usesChoices && !choices.isEmpty())
            m_errors.append(where + QStringLiteral("has %1, which only types 1 to 6 use")
                                        .arg(plural(choices.size(), noun)));
        if (!usesTargets && !targets.isEmpty())
            m_errors.append(
                where + QStringLiteral("has %1, which only types 5 and 6 use")
                            .arg(plural(targets.size(), QStringLiteral("drag-and-drop target"))));
        if (type != Simulation && !tasks.isEmpty())
            m_errors.append(where + QStringLiteral("has %1, which only type 7 uses")
                                        .arg(plural(tasks.size(), QStringLiteral("task"))));

        const QList<int> &counted = type == Simulation ? tasks : choices;
        const QString countedNoun = type == Simulation ? QStringLiteral("task") : noun;
        // The program refuses a module with more choices or items than a screen shows.
        const int most = type == TypedAnswer ? 1 : type == Simulation ? 255 : maxShownChoices;
        if (counted.isEmpty())
            m_errors.append(where + QStringLiteral("has no %1s").arg(countedNoun));
        else if (counted.size() > most)
            m_errors.append(where + QStringLiteral("%1, the most is %2")
                                        .arg(plural(counted.size(), countedNoun))
                                        .arg(most));
        if (question.choiceCount != counted.size())
            m_errors.append(where + QStringLiteral("choiceCount %1 differs from its %2")
                                        .arg(question.choiceCount)
                                        .arg(plural(counted.size(), countedNoun)));

        checkAnswerKey(where, question, int(choices.size()), int(targets.size()));

        QHash<QString, int> choiceWithText;
        for (int i : choices) {
            const ChoiceRow &row = m_bank.choiceRows[i];
            const QString rowWhere = where + QStringLiteral("%1 %2: ").arg(noun).arg(row.rowNo);
            text(rowWhere, QStringLiteral("text"), row.text);
            if (type == TypedAnswer || type == TypedValues)
                typable(rowWhere, QStringLiteral("text"), row.text);
            else
                required(rowWhere, QStringLiteral("text"), row.text);
            // A candidate cannot tell two choices of the same text apart.
            if (type != SingleAnswer && type != MultipleAnswers)
                continue;
            const QString key = row.text.trimmed().toLower();
            if (const int first = choiceWithText.value(key); first != 0)
                m_errors.append(rowWhere + QStringLiteral("text repeats choice %1").arg(first));
            else
                choiceWithText.insert(key, row.rowNo);
        }
        for (int i : targets) {
            const DndRow &row = m_bank.dndRows[i];
            const QString rowWhere = where + QStringLiteral("target %1: ").arg(row.rowNo);
            text(rowWhere, QStringLiteral("text"), row.text);
            // A text drag-and-drop target is its text.
            if (type == TextDragAndDrop)
                required(rowWhere, QStringLiteral("text"), row.text);
            if (row.correctSource > choices.size())
                m_errors.append(rowWhere +
                                QStringLiteral("correctSource %1 does not exist (the question "
                                               "has %2)")
                                    .arg(row.correctSource)
                                    .arg(plural(choices.size(), QStringLiteral("item"))));
        }
        if (type == GraphicalDragAndDrop)
            checkGraphicalTargets(where, question, targets);
        if (usesTargets && targets.isEmpty())
            m_errors.append(where + QStringLiteral("has no drag-and-drop targets"));
        if (type == GraphicalDragAndDrop && question.diagramFile.isEmpty())
            m_errors.append(
                where + QStringLiteral("a graphical drag-and-drop question needs a diagramFile"));
        for (int i : tasks) {
            const SimRow &row = m_bank.simRows[i];
            const QString rowWhere = where + QStringLiteral("task %1: ").arg(row.rowNo);
            required(rowWhere, QStringLiteral("hostName"), row.hostName);
            required(rowWhere, QStringLiteral("taskText"), row.taskText);
            typable(rowWhere, QStringLiteral("expectedCommand"), row.expectedCommand);
            text(rowWhere, QStringLiteral("hostName"), row.hostName);
            text(rowWhere, QStringLiteral("taskText"), row.taskText);
            text(rowWhere, QStringLiteral("expectedCommand"), row.expectedCommand);
            text(rowWhere, QStringLiteral("response"), row.response);
            if (row.promptNo < 1 || row.promptNo > m_bank.prompts.size())
                m_errors.append(rowWhere +
                                QStringLiteral("promptNo %1 does not exist (the module has %2)")
                                    .arg(row.promptNo)
                                    .arg(plural(m_bank.prompts.size(), QStringLiteral("prompt"))));
        }
    }

    static QRect targetRect(const DndRow &row)
    {
        return {row.targetLeft, row.targetTop, row.targetWidth, row.targetHeight};
    }

    // The first target sizes every item: the targets are all of its size, apart from each
    // other and, on a drawn picture, on the slots the drawing shows (15 twips a pixel).
    void checkGraphicalTargets(const QString &where, const Question &question,
                               const QList<int> &targets)
    {
        if (targets.isEmpty())
            return;
        const QRect first = targetRect(m_bank.dndRows[targets.first()]);
        if (first.width() <= 0 || first.height() <= 0)
            m_errors.append(where + QStringLiteral("target 1: width and height must be above 0 "
                                                   "(they size every item)"));
        const auto drawn = m_source.drawnSlots.constFind(question.diagramFile);
        const QString drawing = QStringLiteral("diagrams/%1.json")
                                    .arg(QFileInfo(question.diagramFile).completeBaseName());
        if (drawn != m_source.drawnSlots.cend() && drawn->size() != targets.size())
            m_errors.append(where + QStringLiteral("has %1, but %2 draws %3")
                                        .arg(plural(targets.size(), QStringLiteral("target")),
                                             drawing,
                                             plural(drawn->size(), QStringLiteral("slot"))));
        for (qsizetype j = 0; j < targets.size(); ++j) {
            const QRect target = targetRect(m_bank.dndRows[targets[j]]);
            const QString rowWhere = where + QStringLiteral("target %1: ").arg(j + 1);
            if (target.size() != first.size())
                m_errors.append(rowWhere + QStringLiteral("is not the size of target 1"));
            for (qsizetype k = 0; k < j; ++k) {
                if (targetRect(m_bank.dndRows[targets[k]]).intersects(target))
                    m_errors.append(rowWhere + QStringLiteral("overlaps target %1").arg(k + 1));
            }
            if (drawn == m_source.drawnSlots.cend() || j >= drawn->size())
                continue;
            const QRect slot = drawn->at(j);
            const QRect slotTwips(slot.x() * twipsPerPixel, slot.y() * twipsPerPixel,
                                  slot.width() * twipsPerPixel, slot.height() * twipsPerPixel);
            if (target != slotTwips)
                m_errors.append(rowWhere + QStringLiteral("left %1, top %2, width %3, height %4 "
                                                          "differ from slot %5 of %6 (%7, %8, "
                                                          "%9, %10)")
                                               .arg(target.x())
                                               .arg(target.y())
                                               .arg(target.width())
                                               .arg(target.height())
                                               .arg(j + 1)
                                               .arg(drawing)
                                               .arg(slotTwips.x())
                                               .arg(slotTwips.y())
                                               .arg(slotTwips.width())
                                               .arg(slotTwips.height()));
        }
    }

    void checkAnswerKey(const QString &where, const Question &question, int choices, int targets)
    {
        const int type = question.questionType;
        const auto key = quint16(question.answerKey);
        if (type == SingleAnswer || type == MultipleAnswers) {
            const quint16 beyond = choices >= 16 ? 0 : quint16(key >> choices);
            if (beyond != 0) {
                m_errors.append(where + QStringLiteral("answerKey %1 marks choice %2, but the "
                                                       "question has %3")
                                            .arg(question.answerKey)
                                            .arg(choices + std::bit_width(beyond))
                                            .arg(plural(choices, QStringLiteral("choice"))));
                return;
            }
            const int correct = std::popcount(key);
            if (type == SingleAnswer && correct != 1)
                m_errors.append(where + QStringLiteral("a single-answer question needs exactly "
                                                       "one correct choice, it has %1")
                                            .arg(correct));
            if (type == MultipleAnswers && correct < 2)
                m_errors.append(where + QStringLiteral("a multiple-answer question needs at least "
                                                       "two correct choices, it has %1")
                                            .arg(correct));
        } else if (type == TextDragAndDrop || type == GraphicalDragAndDrop) {
            if (question.answerKey != targets)
                m_errors.append(where +
                                QStringLiteral("answerKey %1 differs from its %2")
                                    .arg(question.answerKey)
                                    .arg(plural(targets, QStringLiteral("drag-and-drop target"))));
        } else if (question.answerKey != 0) {
            m_errors.append(where +
                            QStringLiteral("answerKey %1 must be 0 for a question of type %2")
                                .arg(question.answerKey)
                                .arg(type));
        }
    }

    const ModuleSource &m_source;
    const QuestionBank &m_bank;
    QHash<qint16, QList<int>> m_choiceRowsOf;
    QHash<qint16, QList<int>> m_dndRowsOf;
    QHash<qint16, QList<int>> m_simRowsOf;
    QHash<QString, int> m_firstWithCode;
    QStringList m_errors;
};

} // namespace

QStringList validateModule(const ModuleSource &source)
{
    return Validator(source).run();
}
