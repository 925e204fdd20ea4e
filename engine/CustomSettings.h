#pragma once

#include "common/OneBasedArray.h"

#include <QList>
#include <QString>

// The values of the custom-mode settings window that a Custom test is built from, named
// after the controls that hold them. Check boxes are true when checked or greyed.
struct CustomSettings
{
    QString txCustomQuestions;        // number of questions, as typed
    int opObjIndex = 0;               // 0: all objectives; 1: the objectives checked in the list
    OneBasedArray<bool> lvObjChecked; // one row per objective, in objective order
    bool ckRndQues = false;
    bool ckRndAns = false;
    bool ckTimer = false;
    QString txDuration; // minutes, as typed
    bool ckPrevious = false;
    bool ckAnsBtn = false;
    bool ckTotCorAns = false;
    // When not empty, the test draws only from these bank questions (by position), as one
    // in practice of questions once answered wrongly.
    QList<int> questionNos;
};
