#include "BankBuilder.h"
#include "engine/TestState.h"
#include "present/ScoreGrade.h"
#include "present/ScoreReport.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <tuple>

using namespace Qt::StringLiterals;

class ScoreReportTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_report.reset();
        m_state = {};
        m_state.testLength = 6;
        m_state.correctCount = 3;
        m_state.passScore = 825;
    }

    void gradesAgainstThePassingScore_data()
    {
        QTest::addColumn<int>("score");
        QTest::addColumn<int>("incorrect");
        QTest::addColumn<QString>("grade");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("reviewIncorrect");

        const QString fail = u"FAIL - Sorry, try harder next time!"_s;
        const QString pass = u"PASS - Congratulation!"_s;
        QTest::newRow("just below") << 824 << 1 << fail << failRed << true;
        QTest::newRow("equal") << 825 << 1 << pass << passGreen << true;
        QTest::newRow("perfect") << 1000 << 0 << u"Pass - Perfect!"_s << passGreen << false;
        // An item of an unknown type is left out of grading: nothing is incorrect.
        QTest::newRow("nothing incorrect") << 900 << 0 << pass << passGreen << false;
    }

    void gradesAgainstThePassingScore()
    {
        QFETCH(int, score);
        QFETCH(int, incorrect);
        QFETCH(QString, grade);
        QFETCH(QColor, colour);
        QFETCH(bool, reviewIncorrect);

        m_state.scaledScore = score;
        m_state.incorrectCount = incorrect;
        m_state.incorrectItems.fill(incorrect, 6);
        ScoreReport *report = drawReport();
        QCOMPARE(report->findChild<QLabel *>(u"lbScore"_s)->text(), u"%1/1000 (3/6)"_s.arg(score));
        auto *gradeLabel = report->findChild<QLabel *>(u"lbGrade"_s);
        QCOMPARE(gradeLabel->text(), grade);
        QCOMPARE(gradeLabel->palette().color(QPalette::WindowText), colour);
        QCOMPARE(report->findChild<QPushButton *>(u"cmIncorrect"_s)->isEnabled(), reviewIncorrect);
    }

    // Only the clamping: the scaling itself is the arithmetic of the code.
    void barsStayOnTheScale()
    {
        QCOMPARE(barLength(1200, 384), 384);
        QCOMPARE(barLength(-5, 384), 0);
    }

    // In the order graded, not by number.
    void showsTheObjectiveFigures()
    {
        for (const auto &[objective, percent, count] :
             {std::tuple(2, 67, u"(2/3)"_s), std::tuple(1, 0, u"(0/1)"_s)}) {
            m_state.objList.append(objective);
            m_state.objPercent.append(percent);
            m_state.objScoreText.append(count);
        }
        const QStringList rows{u"1|Objective 2|67%|(2/3)"_s, u"2|Objective 1|0%|(0/1)"_s};
        ScoreReport *report = drawReport(int(rows.size()));
        // Drawn again for a new grading, the rows are replaced.
        report->DrawScoreBox(int(rows.size()));
        auto *table = report->findChild<QTreeWidget *>(u"lvObjScore"_s);
        QStringList shown;
        for (int row = 0; row < table->topLevelItemCount(); ++row) {
            QStringList columns;
            for (int column = 0; column < table->columnCount(); ++column)
                columns << table->topLevelItem(row)->text(column);
            shown << columns.join(u'|');
        }
        QCOMPARE(shown, rows);
    }

private:
    // The report of a graded test of six items, three of them right.
    ScoreReport *drawReport(int rows = 0)
    {
        m_report = std::make_unique<ScoreReport>(m_bank, m_state, u"Ada Lovelace"_s);
        m_report->DrawScoreBox(rows);
        return m_report.get();
    }

    QuestionBank m_bank = BankBuilder().objectives(2).bank();
    TestState m_state;
    std::unique_ptr<ScoreReport> m_report;
};

QTEST_MAIN(ScoreReportTest)
#include "tst_scorereport.moc"
