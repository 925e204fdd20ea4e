#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow frMain;
    frMain.setWindowTitle(QStringLiteral("Quendra"));
    frMain.resize(800, 600);
    frMain.show();
    return application.exec();
}
