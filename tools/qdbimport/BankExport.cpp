#include "BankExport.h"

#include "common/Twips.h"
#include "moduledb/Ansi.h"
#include "moduledb/Archive.h"
#include "moduledb/TableReader.h"
#include "tools/qdbpack/ModuleValidation.h"
#include "tools/qdbpack/SourceReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>

#include <bit>

namespace {

void readNamedFiles(ModuleWithFiles &module, const QString &folder)
{
    for (const Question &question : module.bank.questions) {
        for (const QString &name : {question.diagramFile, question.exhibitFile}) {
            if (name.isEmpty() || module.files.contains(name))
                continue;
            QFile file(QDir(folder).filePath(name));
            if (QFileInfo(name).fileName() == name && file.open(QIODevice::ReadOnly))
                module.files.insert(name, file.readAll());
            else
                module.warnings.append(QStringLiteral("%1: \"%2\" is not in %3, left out")
                                           .arg(question.questionCode.trimmed(), name,
                                                QDir::toNativeSeparators(folder)));
        }
    }
}

QString exhibitText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = fromAnsi(bytes);
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

class BankUnmapper
{
public:
    BankUnmapper(const ModuleWithFiles &module, BankFormat format, ExportedBank &exported)
        : m_module(module), m_bank(module.bank), m_format(format), m_exported(exported)
    {
        for (const ChoiceRow &row : m_bank.choiceRows)
            m_choices[row.questionId].append(&row);
        for (const DndRow &row : m_bank.dndRows)
            m_targets[row.questionId].append(&row);
        for (const SimRow &row : m_bank.simRows)
            m_tasks[row.questionId].append(&row);
    }

    BankQuestion question(const Question &row)
    {
        BankQuestion question;
        m_code = row.questionCode.trimmed();
        question.name = m_code;
        if (m_bank.objectives.contains(row.objectiveNo))
            question.category = {m_bank.objectives[row.objectiveNo].objectiveName};
        question.text = row.questionText;
        question.explanation = row.explanation;
        if (!row.reference.isEmpty())
            question.explanation +=
                (row.explanation.isEmpty() ? QString() : QStringLiteral("\n\n")) +
                QStringLiteral("Reference: ") + row.reference;
        if (!row.exhibitFile.isEmpty() && m_module.files.contains(row.exhibitFile))
            question.exhibit = exhibitText(m_module.files.value(row.exhibitFile));
        if (!row.diagramFile.isEmpty() && m_module.files.contains(row.diagramFile)) {
            question.pictures = {row.diagramFile};
            question.embeddedFiles.insert(row.diagramFile, m_module.files.value(row.diagramFile));
        }
        const QList<const ChoiceRow *> choices = m_choices.value(row.questionId);
        switch (row.questionType) {
        case SingleAnswer:
        case MultipleAnswers:
            mapChoices(row, choices, question);
            break;
        case TypedAnswer:
        case TypedValues: {
            QStringList values;
            for (const ChoiceRow *choice : choices)
                values.append(choice->text);
            question.kind = BankQuestionKind::ShortAnswer;
            question.answers = {{values.join(u'.'), 100, 0}};
            if (row.questionType == TypedValues && values.size() != 4)
                report(QStringLiteral("typed values written as one typed answer \"%1\"")
                           .arg(values.join(u'.')));
            break;
        }
        case TextDragAndDrop:
        case GraphicalDragAndDrop:
            mapDragAndDrop(row, choices, question);
            break;
        default:
            mapSimulation(row, question);
            break;
        }
        if (m_format == BankFormat::Gift && !question.pictures.isEmpty()) {
            m_exported.besideFiles.insert(row.diagramFile, m_module.files.value(row.diagramFile));
            report(QStringLiteral("GIFT holds no pictures: \"%1\" is written beside the file")
                       .arg(row.diagramFile));
        }
        return question;
    }

private:
    void report(const QString &what)
    {
        m_exported.report.append(m_code + QStringLiteral(": ") + what);
    }

    void mapChoices(const Question &row, const QList<const ChoiceRow *> &choices,
                    BankQuestion &question)
    {
        question.kind = BankQuestionKind::MultipleChoice;
        question.single = row.questionType == SingleAnswer;
        const int correct = std::popcount(quint16(row.answerKey));
        for (qsizetype i = 0; i < choices.size(); ++i) {
            const bool isCorrect = i < 16 && (quint16(row.answerKey) >> i) & 1;
            // Any wrong choice ticked loses the whole grade, as a module scores it.
            const double fraction = isCorrect ? 100.0 / (question.single ? 1 : correct)
                                              : (question.single ? 0.0 : -100.0);
            question.answers.append({choices[i]->text, fraction, 0});
        }
    }

    void mapDragAndDrop(const Question &row, const QList<const ChoiceRow *> &items,
                        BankQuestion &question)
    {
        const QList<const DndRow *> targets = m_targets.value(row.questionId);
        const bool onImage = row.questionType == GraphicalDragAndDrop &&
                             m_format == BankFormat::MoodleXml && !question.pictures.isEmpty();
        question.kind = onImage ? BankQuestionKind::DragOntoImage : BankQuestionKind::Matching;
        QList<bool> used(items.size());
        for (qsizetype j = 0; j < targets.size(); ++j) {
            const DndRow &target = *targets[j];
            if (target.correctSource == 0 || target.correctSource > items.size()) {
                report(QStringLiteral("target %1 must stay empty, which %2 cannot ask: left out")
                           .arg(j + 1)
                           .arg(onImage ? QStringLiteral("drag-and-drop onto an image")
                                        : QStringLiteral("matching")));
                continue;
            }
            used[target.correctSource - 1] = true;
            if (onImage) {
                question.drops.append({target.targetLeft / twipsPerPixel,
                                       target.targetTop / twipsPerPixel, target.correctSource});
            } else {
                const QString prompt =
                    target.text.isEmpty() ? QStringLiteral("Target %1").arg(j + 1) : target.text;
                question.pairs.append({prompt, items[target.correctSource - 1]->text});
            }
        }
        for (qsizetype i = 0; i < items.size(); ++i) {
            if (onImage)
                question.drags.append({items[i]->text, 1, false});
            else if (!used[i])
                question.pairs.append({QString(), items[i]->text});
        }
        if (row.questionType == GraphicalDragAndDrop && !onImage)
            report(QStringLiteral("drag-and-drop onto an image written as matching: its targets "
                                  "are named, not placed"));
    }

    void mapSimulation(const Question &row, BankQuestion &question)
    {
        question.kind = BankQuestionKind::Description;
        QStringList lines = {question.text, QString(), QStringLiteral("Expected commands:")};
        for (const SimRow *task : m_tasks.value(row.questionId)) {
            const QString prompt = m_bank.prompts.contains(task->promptNo)
                                       ? m_bank.prompts[task->promptNo].promptText
                                       : QString();
            lines.append(QStringLiteral("%1 %2%3 %4")
                             .arg(task->taskText, task->hostName, prompt, task->expectedCommand));
        }
        question.text = lines.join(u'\n');
        report(QStringLiteral("simulation written as a description with its expected commands"));
    }

    const ModuleWithFiles &m_module;
    const QuestionBank &m_bank;
    BankFormat m_format;
    ExportedBank &m_exported;
    QString m_code;
    QHash<qint16, QList<const ChoiceRow *>> m_choices;
    QHash<qint16, QList<const DndRow *>> m_targets;
    QHash<qint16, QList<const SimRow *>> m_tasks;
};

} // namespace

std::optional<ModuleWithFiles> readModuleForExport(const QString &path, QString *error)
{
    ModuleWithFiles module;
    const QFileInfo info(path);
    if (info.isDir()) {
        QStringList errors;
        auto source = readModuleFolder(path, &errors);
        if (source)
            errors = validateModule(*source);
        if (!errors.isEmpty()) {
            *error = errors.join(u'\n');
            return std::nullopt;
        }
        module.bank = source->bank;
        readNamedFiles(module, QDir(path).filePath(QStringLiteral("files")));
        return module;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: cannot be read (%2)").arg(path, file.errorString());
        return std::nullopt;
    }
    const ParsedArchive archive = parseArchive(file.readAll());
    if (archive.failure != ArchiveFailure::None) {
        *error = QStringLiteral("%1: %2").arg(path, archive.problem);
        return std::nullopt;
    }
    QList<TableFile> tables;
    for (const UnpackedEntry &entry : archive.entries)
        tables.append({entry.name, entry.content});
    if (const auto problem = loadTables(tables, module.bank)) {
        *error = QStringLiteral("%1: %2").arg(path, problem->description);
        return std::nullopt;
    }
    readNamedFiles(module, info.absolutePath());
    return module;
}

ExportedBank exportModule(const ModuleWithFiles &module, BankFormat format)
{
    ExportedBank exported;
    BankUnmapper unmapper(module, format, exported);
    QList<BankQuestion> questions;
    for (const Question &question : module.bank.questions)
        questions.append(unmapper.question(question));
    exported.content =
        format == BankFormat::Gift ? writeGift(questions).toUtf8() : writeMoodleXml(questions);
    exported.report = module.warnings + exported.report;
    return exported;
}
