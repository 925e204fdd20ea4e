#pragma once

#include "FakeClock.h"
#include "FakeMessageBoxes.h"
#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "app/TestRoad.h"

// The main window with its menu and the road of screens on a bank, under the fake clock
// and message boxes. Wire any further commands, then show() the start screen.
struct RoadFixture
{
    explicit RoadFixture(const QuestionBank &bank, const QString &userName = QStringLiteral("Ada"))
    {
        context.bank = bank;
        main.BuildMenu();
        road = new TestRoad(context, main, userName);
    }

    void show()
    {
        main.resize(1024, 768);
        main.show();
        road->showStart();
    }

    FakeClock clock{QDateTime(QDate(2026, 12, 7), QTime(9, 0))};
    FakeMessageBoxes boxes;
    AppContext context;
    MainWindow main;
    TestRoad *road = nullptr;
};
