#include "Random.h"

#include <QRandomGenerator>

#include <algorithm>

Random &Random::instance()
{
    static Random random;
    return random;
}

Random::Random() : m_engine(QRandomGenerator::system()->generate64()) {}

void Random::seed(quint64 value)
{
    m_engine.seed(value);
}

double Random::next()
{
    // The top 53 bits give every double in [0, 1) of that spacing the same chance.
    return double(m_engine() >> 11) * 0x1.0p-53;
}

int Random::drawFrom(int m)
{
    // r * m can round up to m itself when r is the largest value below 1.
    return std::min(int(next() * m) + 1, m);
}
