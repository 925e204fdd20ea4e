#include "ScoreChart.h"

#include "present/ScoreGrade.h"

#include <QPainter>
#include <QPainterPath>

ScoreChart::ScoreChart(QWidget *parent) : QWidget(parent)
{
    setMinimumHeight(140);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void ScoreChart::setScores(const QList<int> &scores, int passScore)
{
    m_scores = scores;
    m_passScore = passScore;
    update();
}

void ScoreChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics = fontMetrics();
    const int labelWidth = metrics.horizontalAdvance(QStringLiteral("1000")) + 6;
    const QRect plot =
        rect().adjusted(labelWidth, metrics.height() / 2 + 2, -8, -metrics.height() / 2 - 2);
    if (plot.width() < 10 || plot.height() < 10)
        return;
    const auto yOf = [&](int points) {
        return plot.bottom() - double(points) * plot.height() / 1000.0;
    };

    painter.setPen(palette().color(QPalette::Mid));
    for (int points = 0; points <= 1000; points += 250) {
        const double y = yOf(points);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.drawText(QRectF(0, y - metrics.height() / 2.0, labelWidth - 4, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(points));
    }
    painter.setPen(QPen(passingBarBlue, 1, Qt::DashLine));
    painter.drawLine(QPointF(plot.left(), yOf(m_passScore)),
                     QPointF(plot.right(), yOf(m_passScore)));
    if (m_scores.isEmpty())
        return;

    const double step = m_scores.size() > 1 ? double(plot.width()) / (m_scores.size() - 1) : 0;
    const auto pointOf = [&](int index) {
        const double x = m_scores.size() > 1 ? plot.left() + index * step : plot.center().x();
        return QPointF(x, yOf(m_scores[index]));
    };
    QPainterPath line(pointOf(0));
    for (int index = 1; index < m_scores.size(); ++index)
        line.lineTo(pointOf(index));
    painter.setPen(QPen(palette().color(QPalette::Text), 1.5));
    painter.drawPath(line);
    // Dots only while they stay apart.
    if (step >= 4 || m_scores.size() == 1) {
        painter.setPen(Qt::NoPen);
        for (int index = 0; index < m_scores.size(); ++index) {
            painter.setBrush(m_scores[index] >= m_passScore ? passGreen.darker(130) : failRed);
            painter.drawEllipse(pointOf(index), 3.5, 3.5);
        }
    }
}
