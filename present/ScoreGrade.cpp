#include "ScoreGrade.h"

#include "engine/TestState.h"

#include <algorithm>

GradeDisplay gradeDisplay(int scaledScore, int passingScore)
{
    if (scaledScore < passingScore)
        return {QStringLiteral("FAIL - Sorry, try harder next time!"), failRed, true};
    if (scaledScore == 1000)
        return {QStringLiteral("Pass - Perfect!"), passGreen, false};
    return {QStringLiteral("PASS - Congratulation!"), passGreen, true};
}

QString scoreText(const TestState &state)
{
    return QStringLiteral("%1/1000 (%2/%3)")
        .arg(state.scaledScore)
        .arg(state.correctCount)
        .arg(state.testLength);
}

QString percentText(int percent)
{
    return QString::number(percent) + QLatin1Char('%');
}

int barLength(int points, int width)
{
    const int length = int((qint64(points) * width + 500) / 1000);
    return std::clamp(length, 0, width);
}
