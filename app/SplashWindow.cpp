#include "SplashWindow.h"

#include "Version.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace {
constexpr int splashWidth = 480;
constexpr int bannerHeight = 120;
const QColor bannerTop(20, 48, 92);
const QColor bannerBottom(18, 110, 130);

// The banner across the top: a deep blue gradient with the program's name.
QPixmap bannerPicture()
{
    QPixmap picture(splashWidth, bannerHeight);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, splashWidth, bannerHeight);
    gradient.setColorAt(0, bannerTop);
    gradient.setColorAt(1, bannerBottom);
    painter.fillRect(picture.rect(), gradient);

    // A few faint network links behind the title.
    painter.setPen(QPen(QColor(255, 255, 255, 40), 2));
    const QPoint nodes[] = {{300, 20}, {360, 70}, {430, 30}, {400, 105}, {470, 80}};
    for (const QPoint &from : nodes) {
        for (const QPoint &to : nodes)
            if (from.x() < to.x() && std::abs(from.y() - to.y()) < 60)
                painter.drawLine(from, to);
    }
    painter.setBrush(QColor(255, 255, 255, 70));
    for (const QPoint &node : nodes)
        painter.drawEllipse(node, 5, 5);

    painter.setPen(Qt::white);
    QFont title(painter.font());
    title.setPointSize(28);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(112, 22, 300, 50), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Quendra"));
    QFont subtitle(painter.font());
    subtitle.setPointSize(11);
    subtitle.setBold(false);
    painter.setFont(subtitle);
    painter.setPen(QColor(220, 235, 245));
    painter.drawText(QRect(114, 70, 340, 24), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Practice Exam Simulator"));
    return picture;
}

// The emblem: a white ring with a tick, the sign of a passed exam.
QPixmap emblemPicture()
{
    QPixmap picture(72, 72);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 5));
    painter.setBrush(QColor(255, 255, 255, 30));
    painter.drawEllipse(QRectF(5, 5, 62, 62));
    QPainterPath tick;
    tick.moveTo(21, 37);
    tick.lineTo(32, 48);
    tick.lineTo(52, 25);
    painter.setPen(QPen(QColor(250, 200, 60), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
    return picture;
}

QLabel *textLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setObjectName(name);
    return label;
}
} // namespace

SplashWindow::SplashWindow(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frSplash"));
    setWindowTitle(QStringLiteral("Quendra"));

    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(1);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    auto *banner = textLabel(frame, QStringLiteral("imgSE"), {});
    banner->setPixmap(bannerPicture());
    banner->setFixedSize(splashWidth, bannerHeight);
    auto *emblem = textLabel(banner, QStringLiteral("imSES"), {});
    emblem->setPixmap(emblemPicture());
    emblem->setGeometry(24, 24, 72, 72);

    auto *exam =
        textLabel(frame, QStringLiteral("lbExam"), QStringLiteral("NTCX 512-330 Networking Exam"));
    QFont examFont = exam->font();
    examFont.setBold(true);
    examFont.setPointSize(examFont.pointSize() + 1);
    exam->setFont(examFont);
    auto *product =
        textLabel(frame, QStringLiteral("lbProduct"),
                  QStringLiteral("Study, Exam and Custom tests with a graded score report"));
    auto *copyright =
        textLabel(frame, QStringLiteral("lbCopyright"),
                  QStringLiteral("Copyright \u00A9 2026 Quendra. All rights reserved."));
    QPalette quiet = copyright->palette();
    quiet.setColor(QPalette::WindowText, QColor(100, 100, 100));
    copyright->setPalette(quiet);

    auto *lbStart =
        textLabel(frame, QStringLiteral("lbStart"), QStringLiteral("Starting Quendra..."));
    auto *lblVersion =
        textLabel(frame, QStringLiteral("lblVersion"), QStringLiteral("Version ") + versionText());
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_pbStart = new QProgressBar(frame);
    m_pbStart->setObjectName(QStringLiteral("pbStart"));
    m_pbStart->setRange(0, 100);
    m_pbStart->setTextVisible(false);
    m_pbStart->setFixedHeight(14);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(20, 12, 20, 14);
    body->setSpacing(6);
    body->addWidget(exam);
    body->addWidget(product);
    body->addSpacing(10);
    auto *startLine = new QHBoxLayout;
    startLine->addWidget(lbStart);
    startLine->addStretch();
    startLine->addWidget(lblVersion);
    body->addLayout(startLine);
    body->addWidget(m_pbStart);
    body->addSpacing(6);
    body->addWidget(copyright);

    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(banner);
    layout->addLayout(body);

    setFixedSize(sizeHint().expandedTo(QSize(splashWidth + 2, 0)));
}

void SplashWindow::showCentred()
{
    if (const QScreen *where = screen()) {
        QRect place(QPoint(), size());
        place.moveCenter(where->availableGeometry().center());
        move(place.topLeft());
    }
    show();
    raise();
}
