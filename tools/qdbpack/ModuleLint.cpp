#include "ModuleLint.h"

#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <bit>
#include <limits>

namespace {

const QString wholeBank = QStringLiteral("questions/: ");

// Two stems are alike from this share of their words on (shared words / all their words).
constexpr double nearDuplicateSimilarity = 0.4;
// A word in more than this share of the stems is the module's common wording ("router",
// "Type every command in full"), not what a question is about.
constexpr double commonWordShare = 0.05;

// "7 of 20 single-answer questions (35 %)"
QString share(int count, int total, const QString &what)
{
    return QStringLiteral("%1 of %2 %3 (%4 %)")
        .arg(count)
        .arg(total)
        .arg(what)
        .arg(qRound(100.0 * count / total));
}

bool above(int count, int total, int percent)
{
    return 100 * count > percent * total;
}

bool below(int count, int total, int percent)
{
    return 100 * count < percent * total;
}

// The words that carry a stem's meaning: plain function words and the wording of answer
// instructions ("Refer to the exhibit", "Type one decimal number in each box") are left out.
QSet<QString> meaningfulWords(const QString &text)
{
    static const QStringList stopList =
        QStringLiteral(
            "the and but which what that this these with from into onto for are was were been "
            "has have does can will must should would could not all any both only more most "
            "other some such than then there they them their its you how why who when where "
            "one two three four five six refer exhibit diagram topology choose drag item items "
            "each used once leave empty row description describes statement statements true "
            "type number digits decimal box")
            .split(u' ');
    static const QSet<QString> stopWords(stopList.cbegin(), stopList.cend());
    static const QRegularExpression word(QStringLiteral("[\\p{L}\\p{N}]{3,}"));
    QSet<QString> words;
    for (const QRegularExpressionMatch &match : word.globalMatch(text.toLower())) {
        if (!stopWords.contains(match.captured()))
            words.insert(match.captured());
    }
    return words;
}

// "once", "3 times"
QString times(qsizetype count)
{
    return count == 1 ? QStringLiteral("once") : QStringLiteral("%1 times").arg(count);
}

struct Spelling
{
    QString name;
    QRegularExpression pattern;
};

// US and UK spellings of words networking texts use, each with the forms it takes
// ("neighbours", "synchronised").
QList<std::pair<Spelling, Spelling>> spellingPairs()
{
    QList<std::pair<Spelling, Spelling>> pairs;
    const auto add = [&pairs](const QString &us, const QString &uk, const QString &usForms,
                              const QString &ukForms) {
        const auto word = [](const QString &forms) {
            return QRegularExpression(QStringLiteral("\\b%1\\b").arg(forms),
                                      QRegularExpression::CaseInsensitiveOption);
        };
        pairs.append({{us, word(usForms)}, {uk, word(ukForms)}});
    };
    const QString anyEnding = QStringLiteral("\\w*");
    for (const auto &[us, uk] : {std::pair{"neighbor", "neighbour"},
                                 {"fiber", "fibre"},
                                 {"behavior", "behaviour"},
                                 {"color", "colour"},
                                 {"center", "centre"},
                                 {"favor", "favour"},
                                 {"license", "licence"}})
        add(QLatin1String(us), QLatin1String(uk), QLatin1String(us) + anyEnding,
            QLatin1String(uk) + anyEnding);
    // "catalog" begins "catalogue".
    add(QStringLiteral("catalog"), QStringLiteral("catalogue"),
        QStringLiteral("catalog(?:s|ed|ing)?"), QStringLiteral("catalogue[sd]?"));
    // The verbs with their nouns and agents ("synchronization", "analyser"), never "analysis".
    const QString verbEndings = QStringLiteral("(?:e|es|ed|ing|ation|ations|er|ers)");
    for (const char *stem : {"synchroni", "analy", "organi", "initiali", "recogni", "prioriti",
                             "authori", "optimi", "minimi", "maximi", "utili"})
        add(QLatin1String(stem) + QStringLiteral("ze"), QLatin1String(stem) + QStringLiteral("se"),
            QLatin1String(stem) + u'z' + verbEndings, QLatin1String(stem) + u's' + verbEndings);
    return pairs;
}

// A text of a question and how messages name it ("explanation", "choice 2: text").
struct Field
{
    int q;
    QString name;
    QString text;
};

class Linter
{
public:
    explicit Linter(const ModuleSource &source) : m_source(source), m_bank(source.bank)
    {
        for (const ChoiceRow &row : m_bank.choiceRows)
            m_choicesOf[row.questionId].append(row.text.trimmed());
    }

    QStringList run()
    {
        checkKeyLength();
        checkKeyPositions();
        checkDropOrder();
        checkNearDuplicates();
        checkChooseCount();
        checkPositionalExplanations();
        checkSpelling();
        checkReferences();
        return m_warnings;
    }

private:
    void warn(int q, const QString &message)
    {
        m_warnings.append(questionWhere(m_source, q) + message);
    }

    int type(int q) const { return m_bank.questions[q].questionType; }
    bool hasChoices(int q) const { return type(q) == SingleAnswer || type(q) == MultipleAnswers; }
    quint16 key(int q) const { return quint16(m_bank.questions[q].answerKey); }

    // A candidate who does not know picks the longest choice: a key that stands out by its
    // length gives itself away.
    void checkKeyLength()
    {
        int singles = 0;
        int longestIsKey = 0;
        for (int q = 1; q <= m_bank.questions.size(); ++q) {
            if (!hasChoices(q))
                continue;
            const QStringList choices = m_choicesOf.value(q);
            qsizetype shortestKey = std::numeric_limits<qsizetype>::max();
            qsizetype longestWrong = 0;
            for (qsizetype i = 0; i < choices.size(); ++i) {
                if ((key(q) >> i) & 1)
                    shortestKey = std::min(shortestKey, choices[i].size());
                else
                    longestWrong = std::max(longestWrong, choices[i].size());
            }
            const bool single = type(q) == SingleAnswer;
            if (longestWrong > 0 && 4 * shortestKey >= 5 * longestWrong &&
                shortestKey >= longestWrong + 15)
                warn(q, QStringLiteral("%1 (%2 characters) is much longer than every wrong "
                                       "choice (at most %3)")
                            .arg(single ? QStringLiteral("the key")
                                        : QStringLiteral("the shortest key"))
                            .arg(shortestKey)
                            .arg(longestWrong));
            if (single) {
                ++singles;
                longestIsKey += shortestKey > longestWrong;
            }
        }
        if (singles >= 8 && above(longestIsKey, singles, 35))
            m_warnings.append(
                wholeBank +
                QStringLiteral("the key is the longest choice in %1, more than 35 %")
                    .arg(share(longestIsKey, singles, QStringLiteral("single-answer questions"))));
        // The other way round, a candidate learns to rule the longest choice out.
        if (singles >= 20 && below(longestIsKey, singles, 15))
            m_warnings.append(
                wholeBank +
                QStringLiteral("the key is the longest choice in %1, less than 15 %")
                    .arg(share(longestIsKey, singles, QStringLiteral("single-answer questions"))));
    }

    // Writers tend to put the key first, or the keys of a multiple-answer item at the
    // top; a candidate who notices the habit scores without knowing.
    void checkKeyPositions()
    {
        QMap<int, int> singleKeysAt;
        int singles = 0;
        int multiples = 0;
        int withA = 0;
        int firstOnes = 0;
        for (int q = 1; q <= m_bank.questions.size(); ++q) {
            if (type(q) == SingleAnswer) {
                ++singles;
                ++singleKeysAt[std::countr_zero(key(q))];
            } else if (type(q) == MultipleAnswers) {
                ++multiples;
                withA += key(q) & 1;
                firstOnes += key(q) == (1 << std::popcount(key(q))) - 1;
            }
        }
        const QString multipleAnswer = QStringLiteral("multiple-answer questions");
        if (multiples >= 6 && above(withA, multiples, 60))
            m_warnings.append(wholeBank + QStringLiteral("choice A is a key in %1, more than 60 %")
                                              .arg(share(withA, multiples, multipleAnswer)));
        if (multiples >= 6 && above(firstOnes, multiples, 25))
            m_warnings.append(wholeBank + QStringLiteral("the keys are the first choices (A, B, "
                                                         "...) in %1, more than 25 %")
                                              .arg(share(firstOnes, multiples, multipleAnswer)));
        for (auto at = singleKeysAt.cbegin(); singles >= 8 && at != singleKeysAt.cend(); ++at) {
            if (above(at.value(), singles, 40))
                m_warnings.append(wholeBank +
                                  QStringLiteral("choice %1 is the key in %2, more than 40 %")
                                      .arg(QChar(u'A' + at.key()))
                                      .arg(share(at.value(), singles,
                                                 QStringLiteral("single-answer questions"))));
        }
    }

    // Items listed in the order of their targets: with answers not shuffled, the first
    // item goes on the first target, the next on the next, and so on.
    void checkDropOrder()
    {
        QMap<int, QList<int>> sourcesOf;
        for (const DndRow &row : m_bank.dndRows) {
            if (row.correctSource != 0)
                sourcesOf[row.questionId].append(row.correctSource);
        }
        for (auto question = sourcesOf.cbegin(); question != sourcesOf.cend(); ++question) {
            const QList<int> &sources = question.value();
            const auto distinct = QSet<int>(sources.cbegin(), sources.cend()).size();
            if (distinct >= 3 && std::is_sorted(sources.cbegin(), sources.cend()))
                warn(question.key(), QStringLiteral("the items are listed in the order of the "
                                                    "targets they belong on"));
        }
    }

    // Two stems that say nearly the same test one thing twice, and the second gives the
    // first away.
    void checkNearDuplicates()
    {
        QList<QSet<QString>> words;
        QHash<QString, int> stemsWith;
        for (const Question &question : m_bank.questions) {
            words.append(meaningfulWords(question.questionText));
            for (const QString &word : std::as_const(words.last()))
                ++stemsWith[word];
        }
        const double common = std::max(3.0, commonWordShare * double(words.size()));
        for (QSet<QString> &stem : words)
            stem.removeIf([&](const QString &word) { return stemsWith.value(word) > common; });
        for (qsizetype later = 0; later < words.size(); ++later) {
            for (qsizetype earlier = 0; earlier < later; ++earlier) {
                const QSet<QString> &a = words[earlier];
                const QSet<QString> &b = words[later];
                if (a.size() < 6 || b.size() < 6)
                    continue;
                const auto shared = std::count_if(b.cbegin(), b.cend(),
                                                  [&a](const QString &w) { return a.contains(w); });
                const double similarity = double(shared) / double(a.size() + b.size() - shared);
                if (similarity >= nearDuplicateSimilarity)
                    warn(int(later) + 1,
                         QStringLiteral("questionText is nearly that of question %1 (%2): %3 % "
                                        "of their words are shared")
                             .arg(earlier + 1)
                             .arg(m_bank.questions[int(earlier) + 1].questionCode)
                             .arg(qRound(100 * similarity)));
            }
        }
    }

    // The candidate is told how many to pick: a number that differs from the key cannot be
    // answered right, and without one a multiple-answer item is a guess.
    void checkChooseCount()
    {
        static const QRegularExpression choose(
            QStringLiteral("\\bchoose\\s+(two|three|four|five|six|\\d+)\\b"),
            QRegularExpression::CaseInsensitiveOption);
        static const QStringList numbers{QStringLiteral("two"), QStringLiteral("three"),
                                         QStringLiteral("four"), QStringLiteral("five"),
                                         QStringLiteral("six")};
        for (int q = 1; q <= m_bank.questions.size(); ++q) {
            if (!hasChoices(q))
                continue;
            const int correct = std::popcount(key(q));
            const QRegularExpressionMatch match = choose.match(m_bank.questions[q].questionText);
            if (!match.hasMatch()) {
                if (type(q) == MultipleAnswers)
                    warn(q, QStringLiteral("questionText does not say how many to choose "
                                           "(\"Choose %1.\")")
                                .arg(numbers.value(correct - 2, QString::number(correct))));
                continue;
            }
            const QString said = match.captured(1).toLower();
            const int number =
                numbers.contains(said) ? int(numbers.indexOf(said)) + 2 : said.toInt();
            if (type(q) == SingleAnswer && number >= 2)
                warn(q, QStringLiteral("questionText says \"%1\", but a single-answer question "
                                       "takes one choice")
                            .arg(match.captured()));
            else if (type(q) == MultipleAnswers && number != correct)
                warn(q, QStringLiteral("questionText says \"%1\", but %2 choices are correct")
                            .arg(match.captured())
                            .arg(correct));
        }
    }

    // Choices may be shown shuffled: "option B" on screen is not the source's second choice.
    void checkPositionalExplanations()
    {
        static const QRegularExpression byPosition(QStringLiteral(
            "(?i:\\bthe\\s+(?:first|second|third|fourth|fifth|sixth|last)\\s+(?:choice|option|"
            "answer)s?\\b)|\\b(?i:(?:choice|option|answer)s?)\\s+[A-J]\\b|\\([A-J]\\)"));
        for (int q = 1; q <= m_bank.questions.size(); ++q) {
            if (!hasChoices(q))
                continue;
            const QRegularExpressionMatch match = byPosition.match(m_bank.questions[q].explanation);
            if (match.hasMatch())
                warn(q, QStringLiteral("explanation names a choice by its position (\"%1\"), "
                                       "which shuffling changes")
                            .arg(match.captured()));
        }
    }

    // Every text a candidate reads, question by question.
    QList<Field> readTexts() const
    {
        QList<Field> fields;
        for (int q = 1; q <= m_bank.questions.size(); ++q) {
            const Question &question = m_bank.questions[q];
            fields.append({q, QStringLiteral("questionText"), question.questionText});
            fields.append({q, QStringLiteral("explanation"), question.explanation});
            fields.append({q, QStringLiteral("reference"), question.reference});
        }
        for (const ChoiceRow &row : m_bank.choiceRows) {
            // Typed answers and values are what the candidate types, not prose.
            if (type(row.questionId) != TypedAnswer && type(row.questionId) != TypedValues)
                fields.append({row.questionId,
                               QStringLiteral("%1 %2: text")
                                   .arg(choiceRowNoun(type(row.questionId)))
                                   .arg(row.rowNo),
                               row.text});
        }
        for (const DndRow &row : m_bank.dndRows)
            fields.append(
                {row.questionId, QStringLiteral("target %1: text").arg(row.rowNo), row.text});
        for (const SimRow &row : m_bank.simRows)
            fields.append(
                {row.questionId, QStringLiteral("task %1: taskText").arg(row.rowNo), row.taskText});
        std::stable_sort(fields.begin(), fields.end(),
                         [](const Field &a, const Field &b) { return a.q < b.q; });
        return fields;
    }

    // A module reads as one voice in one variety of English; a word spelt both ways looks
    // careless. The Internet is a name.
    void checkSpelling()
    {
        static const QList<std::pair<Spelling, Spelling>> pairs = spellingPairs();
        const QList<Field> fields = readTexts();
        for (const auto &[us, uk] : pairs) {
            QList<std::pair<const Field *, QString>> usUses;
            QList<std::pair<const Field *, QString>> ukUses;
            for (const Field &field : fields) {
                for (const QRegularExpressionMatch &m : us.pattern.globalMatch(field.text))
                    usUses.append({&field, m.captured()});
                for (const QRegularExpressionMatch &m : uk.pattern.globalMatch(field.text))
                    ukUses.append({&field, m.captured()});
            }
            if (usUses.isEmpty() || ukUses.isEmpty())
                continue;
            for (const auto &[field, word] : ukUses.size() <= usUses.size() ? ukUses : usUses)
                warn(field->q,
                     QStringLiteral("%1: \"%2\": the module writes \"%3\" %4 and \"%5\" %6")
                         .arg(field->name, word, us.name, times(usUses.size()), uk.name,
                              times(ukUses.size())));
        }
        static const QRegularExpression internet(QStringLiteral("\\binternet\\b"));
        for (const Field &field : fields) {
            if (internet.match(field.text).hasMatch())
                warn(field.q,
                     field.name + QStringLiteral(": \"internet\" is a name: \"Internet\""));
        }
    }

    // The answer shown with its reference is only as good as the document behind it.
    void checkReferences()
    {
        static const QRegularExpression document(
            QStringLiteral("RFC \\d|IEEE |ISO|IEC |ITU-T|NIST|ANSI|TIA|FIPS|ETSI|IANA|"
                           "Wi-Fi Alliance|W3C|ECMA|MEF \\d"));
        for (int q = 1; q <= m_bank.questions.size(); ++q) {
            const QString &reference = m_bank.questions[q].reference;
            if (reference.trimmed().isEmpty())
                warn(q, QStringLiteral("reference is empty"));
            else if (!document.match(reference).hasMatch())
                warn(q, QStringLiteral("reference cites no standard"));
        }
    }

    const ModuleSource &m_source;
    const QuestionBank &m_bank;
    QHash<int, QStringList> m_choicesOf;
    QStringList m_warnings;
};

} // namespace

QStringList lintModule(const ModuleSource &source)
{
    return Linter(source).run();
}
