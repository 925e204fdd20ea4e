// The least any program does that starts the way Quendra must: a splash window with a line
// of text and a progress bar, shown first, then a main window of the same size as the bare
// window's with one line of text, the splash gone. Start-up that is measured against the
// bare window can come no closer to it than this program does.
#include "app/StartupMeasure.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);

    auto splash = std::make_unique<QWidget>(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    auto *layout = new QVBoxLayout(splash.get());
    layout->addWidget(new QLabel(QStringLiteral("Starting...")));
    auto *progress = new QProgressBar;
    layout->addWidget(progress);
    splash->resize(480, 300);
    splash->show();
    progress->setValue(0);

    QMainWindow window;
    window.setMinimumSize(800, 600);
    const QRect available = window.screen()->availableGeometry();
    window.resize(QSize(1024, 768).boundedTo(available.size()).expandedTo(window.minimumSize()));
    window.move(available.center() - window.rect().center());
    window.setCentralWidget(new QLabel(QStringLiteral("Choose a mode")));
    progress->setValue(100);
    splash.reset();

    quitWhenPainted(&window);
    window.show();
    return application.exec();
}
