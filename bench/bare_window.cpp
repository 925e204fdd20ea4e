// The yardstick of start-up: a bare Qt program that opens one main window of the size and
// place of Quendra's, and reports its first paint the way `quexam --measure-startup` does.
#include "app/StartupMeasure.h"

#include <QApplication>
#include <QMainWindow>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setMinimumSize(800, 600);
    // As the main window does: 1024 x 768 where the screen has room, centred.
    const QRect available = window.screen()->availableGeometry();
    window.resize(QSize(1024, 768).boundedTo(available.size()).expandedTo(window.minimumSize()));
    window.move(available.center() - window.rect().center());
    quitWhenPainted(&window);
    window.show();
    return application.exec();
}
