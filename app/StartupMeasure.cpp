#include "StartupMeasure.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>

namespace {

// The high-water mark of the process's resident memory, from /proc/self/status.
long peakResidentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

class FirstPaintProbe : public QObject
{
public:
    explicit FirstPaintProbe(QWidget *window) : QObject(window)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            // Reported once this paint has reached the screen: the flush follows the paint
            // within the same event, before the next timer.
            QTimer::singleShot(0, this, [] {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                std::printf("shown %lld %ld\n",
                            static_cast<long long>(
                                std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
                            peakResidentKilobytes());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_painted = false;
};

} // namespace

bool measuringStartup(const QStringList &arguments)
{
    return arguments.contains(QStringLiteral("--measure-startup"));
}

QString measuredInstanceLockPath(const QString &usualPath)
{
    const QString path = qEnvironmentVariable("QUENDRA_INSTANCE_LOCK");
    return path.isEmpty() ? usualPath : path;
}

void quitWhenPainted(QWidget *window)
{
    new FirstPaintProbe(window);
}
