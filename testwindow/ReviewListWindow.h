#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
struct QuestionBank;
struct TestState;

// frList: every item of the test with its status. While the test runs it marks items,
// returns to any item, walks the marked or incomplete items and grades the test; after
// grading it shows each item's result and starts the reviews. It lives for one test and
// is hidden, not closed, while the test window or the score report is shown.
class ReviewListWindow : public QWidget
{
    Q_OBJECT

public:
    ReviewListWindow(const QuestionBank &bank, TestState &state, QWidget *parent = nullptr);

Q_SIGNALS:
    void activated();
    // The list has hidden itself and set navMode and curItem: show curItem.
    void itemRequested();
    // The user confirmed ending the test.
    void gradeRequested();
    // The list has hidden itself for the score report.
    void scoreReportRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void load();
    void activate();
    void fillQuestionColumn();
    void markChanged(QTreeWidgetItem *row, int column);
    void openSelectedItem();
    void leaveForItem();
    void review1();
    void review2();
    void review3();
    void review4();

    const QuestionBank &m_bank;
    TestState &m_state;
    bool m_filling = false;
    QTreeWidget *m_lvList = nullptr;
    QLabel *m_lbLegend = nullptr;
    QPushButton *m_cmReview[4] = {};
};
