#include "BankImport.h"

#include "common/Twips.h"
#include "moduledb/Ansi.h"
#include "moduledb/BankCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <limits>

namespace {

constexpr int defaultQuestionCount = 60;
constexpr int mostTargets = 255;

// Drop zones on a picture take their size from the drag items (their labels have the size
// of the first zone): wide enough for the longest label on one line, up to a limit, and as
// many lines high as it then needs.
constexpr int labelCharPixels = 8;
constexpr int labelPaddingPixels = 16;
constexpr int labelMinPixels = 60;
constexpr int labelMaxPixels = 240;
constexpr int labelLinePixels = 16;
constexpr int labelOneLinePixels = 31;

const QString gapText = QStringLiteral("_____");

// Text the module's code page can hold: each character it cannot is written as "?", and
// *problem says which.
QString fittedToAnsi(const QString &text, QString *problem)
{
    if (toAnsi(text))
        return text;
    QString fitted;
    QStringList characters;
    for (char32_t code : text.toUcs4()) {
        const QString character = QString::fromUcs4(&code, 1);
        if (toAnsi(character)) {
            fitted += character;
            continue;
        }
        fitted += u'?';
        const QString named =
            QStringLiteral("\"%1\" (U+%2)")
                .arg(character, QString::number(uint(code), 16).toUpper().rightJustified(4, u'0'));
        if (!characters.contains(named))
            characters.append(named);
    }
    *problem = QStringLiteral("%1 %2 cannot be written in Windows-1252; written as \"?\"")
                   .arg(characters.size() == 1 ? QStringLiteral("character")
                                               : QStringLiteral("characters"),
                        characters.join(QStringLiteral(", ")));
    return fitted;
}

// A name that is safe as a file name in any module folder.
QString safeFileName(const QString &name)
{
    QString safe;
    for (QChar ch : QFileInfo(name).fileName()) {
        const bool plain = (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') ||
                           (ch >= u'0' && ch <= u'9') || ch == u'.' || ch == u'-' || ch == u'_';
        safe += plain ? ch : QChar(u'_');
    }
    while (safe.startsWith(u'.'))
        safe.remove(0, 1);
    return safe;
}

std::optional<QStringList> dottedQuad(const QString &text)
{
    static const QRegularExpression quad(
        QStringLiteral(R"(^(\d{1,3})\.(\d{1,3})\.(\d{1,3})\.(\d{1,3})$)"));
    const auto match = quad.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    QStringList values = match.capturedTexts().mid(1);
    // The value boxes start at 0, so 0.0.0.0 would be answered before anything is typed.
    if (values == QStringList(4, QStringLiteral("0")))
        return std::nullopt;
    for (const QString &value : values) {
        if (value.toInt() > 255)
            return std::nullopt;
    }
    return values;
}

QString quoted(const QStringList &texts)
{
    QStringList list;
    for (const QString &text : texts)
        list.append(u'"' + text + u'"');
    return list.join(QStringLiteral(", "));
}

// A question as the module will hold it, before it is numbered.
struct Draft
{
    Question question;
    QStringList rows; // choices, the answer, values or items
    QList<DndRow> targets;
    QString diagram; // the picture as the bank names it
};

// Drag-and-drop items in the order the targets first take them, then the unused ones.
QStringList itemsByFirstUse(const QStringList &used, const QStringList &all)
{
    QStringList items;
    for (const QString &text : used + all) {
        if (!items.contains(text))
            items.append(text);
    }
    return items;
}

void noteGroups(const QList<BankDrag> &drags, QStringList &notes)
{
    QSet<int> groups;
    for (const BankDrag &drag : drags)
        groups.insert(drag.group);
    if (groups.size() > 1)
        notes.append(QStringLiteral("drag groups merged: every item may go on every target"));
}

std::optional<QString> mapChoices(const BankQuestion &bank, Draft &draft, QStringList &notes)
{
    const QList<BankAnswer> &answers = bank.answers;
    if (answers.size() < 2)
        return QStringLiteral("a choice question needs two choices or more");
    if (answers.size() > maxShownChoices)
        return QStringLiteral("%1 choices, a question shows at most %2")
            .arg(answers.size())
            .arg(maxShownChoices);
    QList<int> positive;
    double best = 0;
    for (int i = 0; i < answers.size(); ++i) {
        if (answers[i].fraction > 0)
            positive.append(i);
        best = std::max(best, answers[i].fraction);
    }
    if (positive.isEmpty())
        return QStringLiteral("no choice is marked correct");
    QList<int> correct = positive;
    if (bank.single) {
        correct.removeIf([&](int i) { return answers[i].fraction < best; });
        if (correct.size() > 1)
            return QStringLiteral("%1 choices are each fully correct, but a single-answer "
                                  "question has one")
                .arg(correct.size());
        for (int i : positive) {
            if (i != correct.first())
                notes.append(QStringLiteral("partial credit of choice %1 (%2%) lost: it counts "
                                            "as wrong")
                                 .arg(i + 1)
                                 .arg(percentText(answers[i].fraction)));
        }
    } else if (correct.size() > 1) {
        notes.append(QStringLiteral("partial credit lost: the choices are scored all or nothing"));
    }
    draft.question.questionType = correct.size() == 1 ? SingleAnswer : MultipleAnswers;
    for (int i : correct)
        draft.question.answerKey = qint16(draft.question.answerKey | (1 << i));
    for (const BankAnswer &answer : answers)
        draft.rows.append(answer.text);
    return std::nullopt;
}

std::optional<QString> mapTyped(const BankQuestion &bank, Draft &draft, QStringList &notes)
{
    const BankAnswer *key = nullptr;
    QStringList accepted;
    QStringList partial;
    for (const BankAnswer &answer : bank.answers) {
        if (answer.fraction >= 100 && !key)
            key = &answer;
        else if (answer.fraction >= 100)
            accepted.append(answer.text);
        else if (answer.fraction > 0)
            partial.append(answer.text);
    }
    if (!key)
        return QStringLiteral("no answer gives full credit");
    if (bank.kind == BankQuestionKind::Numerical && key->tolerance != 0)
        return QStringLiteral("the answer %1 with a tolerance of %2 cannot be typed exactly")
            .arg(key->text, QString::number(key->tolerance));
    if (key->text.trimmed().isEmpty())
        return QStringLiteral("the answer is empty");
    if (!accepted.isEmpty())
        notes.append(QStringLiteral("further accepted answers dropped: %1").arg(quoted(accepted)));
    if (!partial.isEmpty())
        notes.append(QStringLiteral("partial-credit answers dropped: %1").arg(quoted(partial)));
    if (bank.caseSensitive)
        notes.append(QStringLiteral("letter case is no longer checked"));
    if (bank.kind == BankQuestionKind::ShortAnswer && key->text.contains(u'*'))
        notes.append(QStringLiteral("the wildcard \"*\" is taken literally"));
    if (const auto values = dottedQuad(key->text)) {
        draft.question.questionType = TypedValues;
        draft.rows = *values;
    } else {
        draft.question.questionType = TypedAnswer;
        draft.rows = {key->text.trimmed()};
    }
    return std::nullopt;
}

std::optional<QString> mapMatching(const BankQuestion &bank, Draft &draft)
{
    QStringList used;
    QStringList all;
    for (const BankPair &pair : bank.pairs) {
        (pair.prompt.isEmpty() ? all : used).append(pair.answer);
    }
    if (used.isEmpty())
        return QStringLiteral("a matching question needs a pair");
    draft.rows = itemsByFirstUse(used, all);
    for (const BankPair &pair : bank.pairs) {
        if (!pair.prompt.isEmpty())
            draft.targets.append({0, 0, quint8(draft.rows.indexOf(pair.answer) + 1), pair.prompt});
    }
    draft.question.questionType = TextDragAndDrop;
    return std::nullopt;
}

// A text with gaps as rows of text drag-and-drop: each gap's line (or sentence, where a line
// holds several) becomes a row; the text without gaps stays the question's.
std::optional<QString> mapDragIntoText(const BankQuestion &bank, Draft &draft, QStringList &notes)
{
    static const QRegularExpression gap(QStringLiteral(R"(\[\[(\d+)\]\])"));
    static const QRegularExpression sentenceEnd(QStringLiteral(R"((?<=[.!?])\s+)"));
    QStringList textLines;
    QList<std::pair<QString, int>> rows;
    for (const QString &line : bank.text.split(u'\n')) {
        const QStringList units = line.count(gap) > 1 ? line.split(sentenceEnd) : QStringList{line};
        QStringList plain;
        for (QString unit : units) {
            const int gaps = int(unit.count(gap));
            if (gaps > 1)
                return QStringLiteral("drag-and-drop into text with two gaps in one sentence has "
                                      "no row layout");
            if (gaps == 0) {
                plain.append(unit);
                continue;
            }
            const int choice = gap.match(unit).captured(1).toInt();
            rows.append({unit.replace(gap, gapText).trimmed(), choice});
        }
        if (!plain.isEmpty())
            textLines.append(plain.join(u' '));
    }
    if (rows.isEmpty())
        return QStringLiteral("drag-and-drop into text without gaps");
    QStringList used;
    QStringList all;
    for (const auto &[text, choice] : rows)
        used.append(bank.drags[choice - 1].text);
    for (const BankDrag &drag : bank.drags)
        all.append(drag.text);
    draft.rows = itemsByFirstUse(used, all);
    for (const auto &[text, choice] : rows)
        draft.targets.append(
            {0, 0, quint8(draft.rows.indexOf(bank.drags[choice - 1].text) + 1), text});
    draft.question.questionText =
        textLines.join(u'\n')
            .replace(QRegularExpression(QStringLiteral("\n{3,}")), QStringLiteral("\n\n"))
            .trimmed();
    if (draft.question.questionText.isEmpty())
        draft.question.questionText = QStringLiteral("Drag each item onto the text it completes.");
    draft.question.questionType = TextDragAndDrop;
    noteGroups(bank.drags, notes);
    return std::nullopt;
}

std::optional<QString> mapDragOntoImage(const BankQuestion &bank, Draft &draft, QStringList &notes)
{
    if (bank.pictures.isEmpty())
        return QStringLiteral("drag-and-drop onto an image without its background picture");
    if (std::any_of(bank.drags.begin(), bank.drags.end(),
                    [](const BankDrag &drag) { return drag.picture; }))
        return QStringLiteral("its drag items are pictures, and a module's items are text");
    if (bank.drops.isEmpty())
        return QStringLiteral("drag-and-drop onto an image without drop zones");
    qsizetype longest = 0;
    for (const BankDrag &drag : bank.drags) {
        draft.rows.append(drag.text);
        longest = std::max(longest, drag.text.size());
    }
    const int textPixels = int(longest) * labelCharPixels + labelPaddingPixels;
    const int width = std::clamp(textPixels, labelMinPixels, labelMaxPixels);
    const int lines = (textPixels + labelMaxPixels - 1) / labelMaxPixels;
    const int height =
        lines <= 1 ? labelOneLinePixels : lines * labelLinePixels + labelPaddingPixels / 2;
    for (qsizetype i = 0; i < bank.drops.size(); ++i) {
        const BankDrop &drop = bank.drops[i];
        if (drop.left < 0 || drop.top < 0 ||
            (drop.left + width) * twipsPerPixel > std::numeric_limits<qint16>::max() ||
            (drop.top + height) * twipsPerPixel > std::numeric_limits<qint16>::max())
            return QStringLiteral("drop zone %1 at (%2, %3) lies beyond the picture area a "
                                  "module can place")
                .arg(i + 1)
                .arg(drop.left)
                .arg(drop.top);
        draft.targets.append({0, 0, quint8(drop.choice), QString(),
                              qint16(drop.left * twipsPerPixel), qint16(drop.top * twipsPerPixel),
                              qint16(width * twipsPerPixel), qint16(height * twipsPerPixel)});
    }
    draft.question.questionType = GraphicalDragAndDrop;
    draft.diagram = bank.pictures.first();
    noteGroups(bank.drags, notes);
    return std::nullopt;
}

class ModuleBuilder
{
public:
    explicit ModuleBuilder(const ImportOptions &options) : m_options(options) {}

    void add(const BankFile &file, const ParsedBank &parsed, int fileIndex)
    {
        const QString stem = QFileInfo(file.name).completeBaseName();
        const QString questionFile =
            QStringLiteral("questions/%1-%2.json")
                .arg(fileIndex, 2, 10, QChar(u'0'))
                .arg(safeFileName(stem).isEmpty() ? QStringLiteral("bank") : safeFileName(stem));
        for (const BankQuestion &question : parsed.questions)
            addQuestion(file, question, stem, questionFile);
    }

    ImportedModule finish(const QList<BankFile> &files)
    {
        QuestionBank &bank = m_module.source.bank;
        nameObjectives();
        const QString firstName = QFileInfo(files.value(0).name).completeBaseName();
        QStringList fileNames;
        for (const BankFile &file : files)
            fileNames.append(QFileInfo(file.name).fileName());
        TestInfo &info = bank.testInfo;
        info.examCode = m_options.examCode.isEmpty() ? firstName : m_options.examCode;
        info.examTitle = m_options.examTitle.isEmpty() ? firstName : m_options.examTitle;
        info.examQuestionCount = qint16(m_options.examQuestionCount.value_or(
            std::max(1, std::min(defaultQuestionCount, bank.questions.size()))));
        info.passingScore = qint16(m_options.passingScore);
        info.durationMinutes = qint16(m_options.durationMinutes);
        info.totalQuestions = qint16(bank.questions.size());
        info.numObjectives = quint8(bank.objectives.size());
        info.dbVersion = QStringLiteral("1.0");
        info.dbRelease = m_options.dbRelease;
        info.description =
            QStringLiteral("Imported from %1.").arg(fileNames.join(QStringLiteral(", ")));
        const QStringList types = {
            QStringLiteral("single"),     QStringLiteral("Single Answer"),
            QStringLiteral("multiple"),   QStringLiteral("Multiple Answers"),
            QStringLiteral("typed"),      QStringLiteral("Typed Answer"),
            QStringLiteral("values"),     QStringLiteral("Typed Values"),
            QStringLiteral("textdnd"),    QStringLiteral("Drag and Drop"),
            QStringLiteral("graphicdnd"), QStringLiteral("Graphical Drag and Drop"),
            QStringLiteral("simulation"), QStringLiteral("Simulation")};
        for (int i = 0; i < types.size(); i += 2)
            bank.questionTypes.append({quint8(i / 2 + 1), types[i], types[i + 1]});
        m_module.source.availableFiles.emplace();
        for (auto it = m_module.files.begin(); it != m_module.files.end(); ++it)
            m_module.source.availableFiles->insert(it.key());
        const auto counted = [](int count, const QString &noun) {
            return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? noun : noun + u's');
        };
        m_module.report.append(
            QStringLiteral("%1 imported into %2, %3 skipped")
                .arg(counted(bank.questions.size(), QStringLiteral("question")),
                     counted(bank.objectives.size(), QStringLiteral("objective")))
                .arg(m_skipped));
        return m_module;
    }

private:
    void addQuestion(const BankFile &file, const BankQuestion &question, const QString &stem,
                     const QString &questionFile)
    {
        const QString where =
            QStringLiteral("%1:%2").arg(file.name).arg(question.line) +
            (question.name.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(question.name));
        const auto report = [&](const QString &what) {
            m_module.report.append(where + QStringLiteral(": ") + what);
        };
        QStringList notes = question.notes;
        Draft draft;
        draft.question.questionText = question.text;
        std::optional<QString> skipped;
        switch (question.kind) {
        case BankQuestionKind::MultipleChoice:
        case BankQuestionKind::TrueFalse:
            skipped = mapChoices(question, draft, notes);
            break;
        case BankQuestionKind::ShortAnswer:
        case BankQuestionKind::Numerical:
            skipped = mapTyped(question, draft, notes);
            break;
        case BankQuestionKind::Matching:
            skipped = mapMatching(question, draft);
            break;
        case BankQuestionKind::DragIntoText:
            skipped = mapDragIntoText(question, draft, notes);
            break;
        case BankQuestionKind::DragOntoImage:
            skipped = mapDragOntoImage(question, draft, notes);
            break;
        case BankQuestionKind::Description:
            skipped = QStringLiteral("a description asks nothing");
            break;
        case BankQuestionKind::Unsupported:
            skipped = QStringLiteral("%1 questions have no counterpart in a module")
                          .arg(question.unsupportedType);
            break;
        }
        const int type = draft.question.questionType;
        if (!skipped && (type == TextDragAndDrop || type == GraphicalDragAndDrop) &&
            draft.rows.size() > maxShownChoices)
            skipped = QStringLiteral("%1 items to drag, a question shows at most %2")
                          .arg(draft.rows.size())
                          .arg(maxShownChoices);
        if (!skipped && draft.targets.size() > mostTargets)
            skipped = QStringLiteral("%1 targets, the most is %2")
                          .arg(draft.targets.size())
                          .arg(mostTargets);
        if (!skipped && type == GraphicalDragAndDrop) {
            draft.diagram = storePicture(file, question, draft.diagram);
            if (draft.diagram.isEmpty())
                skipped = QStringLiteral("its background picture \"%1\" is not there")
                              .arg(question.pictures.first());
        }
        if (skipped) {
            for (const QString &note : notes)
                report(note);
            report(QStringLiteral("skipped: ") + *skipped);
            ++m_skipped;
            return;
        }

        const qsizetype firstPicture = type == GraphicalDragAndDrop ? 1 : 0;
        for (qsizetype i = firstPicture; i < question.pictures.size(); ++i) {
            if (i > firstPicture || type == GraphicalDragAndDrop) {
                notes.append(QStringLiteral("picture \"%1\" left out: a question shows one "
                                            "diagram")
                                 .arg(question.pictures[i]));
                continue;
            }
            draft.diagram = storePicture(file, question, question.pictures[i]);
            if (draft.diagram.isEmpty())
                notes.append(QStringLiteral("picture \"%1\" left out: it is not there")
                                 .arg(question.pictures[i]));
        }

        Question &row = draft.question;
        QuestionBank &bank = m_module.source.bank;
        const int position = bank.questions.size() + 1;
        row.questionId = qint16(position);
        row.questionCode = uniqueCode(question.name, position);
        row.objectiveNo = quint8(objectiveOf(
            question.category.isEmpty() ? QStringList{stem} : question.category, where));
        row.diagramFile = draft.diagram;
        if (!question.exhibit.isEmpty())
            row.exhibitFile =
                storeFile(safeFileName(row.questionCode.toLower()) + QStringLiteral(".txt"),
                          question.exhibit.toUtf8());
        // The formats have no reference; an explanation that ends with one gives it back.
        static const QRegularExpression reference(QStringLiteral("(^|\n\n)Reference: ([^\n]*)$"));
        row.explanation = question.explanation;
        if (const auto match = reference.match(row.explanation); match.hasMatch()) {
            row.reference = match.captured(2);
            row.explanation.truncate(match.capturedStart());
        }
        const auto fit = [&](QString &text, const QString &field) {
            QString problem;
            text = fittedToAnsi(text, &problem);
            if (!problem.isEmpty())
                notes.append(field + QStringLiteral(": ") + problem);
        };
        fit(row.questionText, QStringLiteral("question text"));
        fit(row.explanation, QStringLiteral("explanation"));
        fit(row.reference, QStringLiteral("reference"));
        const QString noun = choiceRowNoun(type);
        for (qsizetype i = 0; i < draft.rows.size(); ++i) {
            fit(draft.rows[i], QStringLiteral("%1 %2").arg(noun).arg(i + 1));
            bank.choiceRows.append({row.questionId, quint8(i + 1), draft.rows[i], 0});
        }
        for (qsizetype i = 0; i < draft.targets.size(); ++i) {
            DndRow &target = draft.targets[i];
            fit(target.text, QStringLiteral("target %1").arg(i + 1));
            target.questionId = row.questionId;
            target.rowNo = quint8(i + 1);
            bank.dndRows.append(target);
        }
        row.choiceCount = quint8(draft.rows.size());
        if (type == TextDragAndDrop || type == GraphicalDragAndDrop)
            row.answerKey = qint16(draft.targets.size());
        bank.questions.append(row);
        m_module.source.questionFiles.append(questionFile);
        for (const QString &note : notes)
            report(note);
    }

    QString uniqueCode(const QString &name, int position)
    {
        QString base;
        for (QChar ch : name.simplified())
            base += toAnsi(QString(ch)) ? ch : QChar(u'_');
        // "SW-01 Default VLAN": a name that starts with a code of its own.
        const QString firstWord = base.section(u' ', 0, 0);
        if (base.size() > questionCodeLength && firstWord.size() <= questionCodeLength &&
            std::any_of(firstWord.begin(), firstWord.end(), [](QChar ch) { return ch.isDigit(); }))
            base = firstWord;
        if (base.isEmpty())
            base = QStringLiteral("Q%1").arg(position, 4, 10, QChar(u'0'));
        QString code = base.left(questionCodeLength).trimmed();
        for (int n = 2; m_codes.contains(code); ++n) {
            const QString suffix = QStringLiteral("-%1").arg(n);
            code = base.left(questionCodeLength - suffix.size()).trimmed() + suffix;
        }
        m_codes.insert(code);
        return code;
    }

    // where: the first question of the objective, for the report.
    int objectiveOf(const QStringList &path, const QString &where)
    {
        const QString key = path.join(QChar(0x1F));
        if (const int found = m_objectiveOf.value(key))
            return found;
        m_objectivePaths.append(path);
        m_objectiveWheres.append(where);
        m_objectiveOf.insert(key, int(m_objectivePaths.size()));
        return int(m_objectivePaths.size());
    }

    // Categories named from the top: the names every path starts with are left out.
    void nameObjectives()
    {
        qsizetype shared = 0;
        if (m_objectivePaths.size() > 1) {
            shared = std::numeric_limits<qsizetype>::max();
            for (const QStringList &path : m_objectivePaths) {
                qsizetype same = 0;
                while (same < path.size() - 1 && same < m_objectivePaths.first().size() &&
                       path[same] == m_objectivePaths.first()[same])
                    ++same;
                shared = std::min(shared, same);
            }
        }
        QuestionBank &bank = m_module.source.bank;
        for (qsizetype i = 0; i < m_objectivePaths.size(); ++i) {
            QString name = m_objectivePaths[i].mid(shared).join(QStringLiteral(" / "));
            QString problem;
            name = fittedToAnsi(name, &problem);
            if (!problem.isEmpty())
                m_module.report.append(QStringLiteral("%1: objective \"%2\": %3")
                                           .arg(m_objectiveWheres[i], name, problem));
            const int number = bank.objectives.size() + 1;
            bank.objectives.append(
                {quint8(number), name, qint16(derivedQuestionCount(bank, number))});
        }
    }

    // Stores the picture the question names under a file name of its own; empty when the
    // bank neither carries it nor has it beside its file.
    QString storePicture(const BankFile &file, const BankQuestion &question, const QString &path)
    {
        const QString name = QFileInfo(path).fileName();
        if (question.embeddedFiles.contains(name))
            return storeFile(name, question.embeddedFiles.value(name));
        QFile beside(QDir(file.folder).filePath(path));
        if (file.folder.isEmpty() || !beside.open(QIODevice::ReadOnly))
            return {};
        return storeFile(name, beside.readAll());
    }

    QString storeFile(const QString &wanted, const QByteArray &content)
    {
        QString name = safeFileName(wanted);
        if (name.isEmpty())
            name = QStringLiteral("file");
        const QFileInfo info(name);
        for (int n = 2; m_module.files.contains(name) && m_module.files.value(name) != content; ++n)
            name = QStringLiteral("%1-%2%3")
                       .arg(info.completeBaseName())
                       .arg(n)
                       .arg(info.suffix().isEmpty() ? QString() : u'.' + info.suffix());
        m_module.files.insert(name, content);
        return name;
    }

    const ImportOptions &m_options;
    ImportedModule m_module;
    QHash<QString, int> m_objectiveOf;
    QList<QStringList> m_objectivePaths;
    QStringList m_objectiveWheres;
    QSet<QString> m_codes;
    int m_skipped = 0;
};

} // namespace

std::optional<ImportedModule> importBanks(const QList<BankFile> &files,
                                          const ImportOptions &options, QString *error)
{
    ModuleBuilder builder(options);
    QStringList encodings;
    for (int i = 0; i < files.size(); ++i) {
        const BankFile &file = files[i];
        const DecodedText decoded = decodeBankText(file.content);
        if (decoded.windows1252)
            encodings.append(QStringLiteral("%1: not UTF-8, read as Windows-1252").arg(file.name));
        const auto format = options.format ? options.format : detectBankFormat(decoded.text);
        if (!format) {
            *error = QStringLiteral("%1: cannot tell the format (GIFT, Moodle XML or Aiken); "
                                    "name it with --format")
                         .arg(file.name);
            return std::nullopt;
        }
        const ParsedBank parsed = parseBank(*format, decoded.text);
        if (parsed.error) {
            *error = file.name + u':' + *parsed.error;
            return std::nullopt;
        }
        builder.add(file, parsed, i + 1);
    }
    ImportedModule module = builder.finish(files);
    module.report = encodings + module.report;
    return module;
}
