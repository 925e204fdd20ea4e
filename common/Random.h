#pragma once

#include <QtGlobal>

#include <random>

// The one random generator of the program; every random draw goes through instance().
// It is seeded once at start-up, so draws that follow each other quickly (within one timer
// tick) still differ and a rejection loop never sees the same value over and over.
class Random
{
public:
    static Random &instance();

    // Restarts the sequence from a fixed seed, so a test can repeat a run exactly.
    void seed(quint64 value);
    // A uniform number in [0, 1).
    double next();
    // A uniform whole number from 1 to m (m >= 1): the integer part of next() * m, plus 1.
    int drawFrom(int m);

private:
    Random();

    std::mt19937_64 m_engine;
};
