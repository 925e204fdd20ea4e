#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTreeWidget;
struct QuestionBank;
struct TestState;

// The score report frResult of a graded test: the exam and candidate, the score against
// the passing score as numbers and bars, the grade, and the result per objective. It
// lives from grading until the candidate goes back to the main menu; the app routes its
// requests to the test window, the item review list and the start screen.
class ScoreReport : public QWidget
{
    Q_OBJECT
public:
    ScoreReport(const QuestionBank &bank, TestState &state, const QString &userName,
                QWidget *parent = nullptr);

    // Fills the report from the graded state (rows: objListCount) and shows it.
    void DrawScoreBox(int rows);

Q_SIGNALS:
    // Shown: the app disables the test menus and sets the status text.
    void activated();
    // The state is already set for the review (navMode, curItem); the report is hidden.
    void reviewAllRequested();
    void reviewIncorrectRequested();
    void itemReviewRequested();
    // The candidate confirmed ending the session; the app closes the test's windows.
    void mainMenuRequested();
    // The report on paper or in a PDF file, and a Custom test of the weak objectives.
    void printRequested();
    void pdfRequested();
    void practiceRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    void drawBar(QLabel *box, int points, const QColor &fill);
    void reviewAll();
    void reviewIncorrect();
    void itemReview();
    void mainMenu();

    const QuestionBank &m_bank;
    TestState &m_state;
    QString m_userName;

    QLabel *m_lbCard = nullptr;
    QLabel *m_lbTestB = nullptr;
    QLabel *m_lbTestF = nullptr;
    QLabel *m_lbScore = nullptr;
    QLabel *m_lbPassingScore = nullptr;
    QLabel *m_lbGrade = nullptr;
    QLabel *m_piPassScore = nullptr;
    QLabel *m_piScore = nullptr;
    QTreeWidget *m_lvObjScore = nullptr;
    QPushButton *m_cmIncorrect = nullptr;
    QPushButton *m_cmPrint = nullptr;
};
