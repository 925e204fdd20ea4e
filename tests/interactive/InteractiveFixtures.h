#pragma once

#include "engine/TestState.h"
#include "moduledb/QuestionBank.h"

// Question numbers of interactiveBank().
enum FixtureQuestion {
    graphicalQ = 1,  // items Alpha, Bravo, Charlie; targets keyed 2, 0, 1
    textQ = 2,       // items Red, Green, Blue, Black; rows keyed 3, 1, 0
    simulationQ = 3, // tasks: R1> enable, R1# configure terminal, SW1(config)# hostname Core1
    singleQ = 4,
};

// A bank with one question of each interactive type and one single-answer question; the
// pictures are picture.png.
QuestionBank interactiveBank();

// A running test of ten items whose item 3 is question q, answers in choice order.
TestState runningTest(const QuestionBank &bank, int q);
