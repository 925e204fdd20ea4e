// topodraw: renders a network drawing description (JSON) to a PNG picture.
//   topodraw <description.json> <picture.png>

#include "Topology.h"
#include "TopologyPainter.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // Drawing needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);

    const QStringList arguments = app.arguments();
    if (arguments.size() != 3) {
        err << "usage: topodraw <description.json> <picture.png>\n";
        return 2;
    }
    QFile source(arguments.at(1));
    if (!source.open(QIODevice::ReadOnly)) {
        err << arguments.at(1) << ": " << source.errorString() << '\n';
        return 1;
    }
    const TopologyResult result = parseTopology(source.readAll());
    if (!result.topology) {
        err << arguments.at(1) << ": " << result.error << '\n';
        return 1;
    }
    if (!renderTopology(*result.topology).save(arguments.at(2), "PNG")) {
        err << arguments.at(2) << ": cannot write the picture\n";
        return 1;
    }
    return 0;
}
