#pragma once

#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"

#include <QString>

// Question numbers of interactiveBank().
enum FixtureQuestion {
    graphicalQ = 1,  // items Alpha, Bravo, Charlie; targets keyed 2, 0, 1
    textQ = 2,       // items Red, Green, Blue, Black; rows keyed 3, 1, 0
    simulationQ = 3, // tasks: R1> enable, R1# configure terminal, SW1(config)# hostname Core1
    singleQ = 4,
};

// A bank with one question of each interactive type and one single-answer question.
QuestionBank interactiveBank();

// A running test of ten items whose item 3 is question q, answers in choice order.
TestState runningTest(const QuestionBank &bank, int q);

// The sample module the build packs, loaded as start-up loads it.
QuestionBank sampleModule();
QString sampleModuleFolder();

// The bank position of the question with the given code (e.g. "LAB-0101"), 0 if none.
int questionNumber(const QuestionBank &bank, const QString &code);
