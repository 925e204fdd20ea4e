#pragma once

#include <QList>
#include <QWidget>

// The scaled scores of successive attempts as a line over the 0..1000 scale, with the
// passing score drawn across.
class ScoreChart : public QWidget
{
    Q_OBJECT
public:
    explicit ScoreChart(QWidget *parent = nullptr);

    void setScores(const QList<int> &scores, int passScore);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<int> m_scores;
    int m_passScore = 0;
};
