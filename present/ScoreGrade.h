#pragma once

#include <QColor>
#include <QString>

struct TestState;

// The score report's colours.
inline const QColor failRed(255, 0, 0);
inline const QColor passGreen(0, 255, 0);
inline const QColor passingBarBlue(0, 0, 255);
inline const QColor barOutlineGrey(128, 128, 128);

// What the report shows for a grade: lbGrade's text and colour, the score bar's colour and
// whether Review Incorrect may be used.
struct GradeDisplay
{
    QString text;
    QColor colour;
    bool reviewIncorrectEnabled = true;
};

// A score equal to the passing score passes; a perfect 1000 says so.
GradeDisplay gradeDisplay(int scaledScore, int passingScore);

// "850/1000 (51/60)".
QString scoreText(const TestState &state);

// A percentage as the objective table shows it: "##0" and "%" (0%, 67%, 100%).
QString percentText(int percent);

// The length in pixels of a bar of points on the 0..1000 scale in a box width pixels wide,
// kept inside the box.
int barLength(int points, int width);
