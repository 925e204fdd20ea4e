#pragma once

#include "engine/CustomSettings.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QTreeWidget;
struct QuestionBank;
struct TestState;

// frCustom, the custom-mode settings: the number of questions, the objectives, random
// order, the timer and the buttons of a Custom test. OK sets the test up.
class CustomWindow : public QWidget
{
    Q_OBJECT
public:
    CustomWindow(const QuestionBank &bank, TestState &state, QWidget *parent = nullptr);

    // The settings as the controls hold them now.
    CustomSettings customSettings() const;
    // Puts settings kept from an earlier run into the controls, all but the number of
    // questions; a list of objectives kept for another module is left as it is.
    void setCustomSettings(const CustomSettings &settings);

Q_SIGNALS:
    // Shown: the app sets the status text "Custom Mode Settings".
    void activated();
    // A Custom test has been set up and this screen is hidden: get ready.
    void testPrepared();
    // Hidden without a test: back to the start screen.
    void cancelled();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    void fillObjectives();
    void stepCount(int step);
    void checkLeftControl(QObject *control);
    void okButton();
    void cancelButton();

    const QuestionBank &m_bank;
    TestState &m_state;
    bool m_checking = false;
    QLineEdit *m_txCustomQuestions = nullptr;
    QRadioButton *m_opObjAll = nullptr;
    QRadioButton *m_opObjListed = nullptr;
    QTreeWidget *m_lvObj = nullptr;
    QCheckBox *m_ckRndQues = nullptr;
    QCheckBox *m_ckRndAns = nullptr;
    QCheckBox *m_ckTimer = nullptr;
    QLineEdit *m_txDuration = nullptr;
    QCheckBox *m_ckAnsBtn = nullptr;
    QCheckBox *m_ckPrevious = nullptr;
    QCheckBox *m_ckTotCorAns = nullptr;
};
