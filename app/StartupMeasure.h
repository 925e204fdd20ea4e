#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Measuring start-up, for the benchmarks only. With --measure-startup the program prints
// one line once its start screen has been painted for the first time,
//     shown <steady clock in nanoseconds> <peak resident memory in kB>
// and then leaves its event loop at once, without the exit question.

// True when the arguments hold --measure-startup.
bool measuringStartup(const QStringList &arguments);

// While measuring, the benchmark gives every run its own instance lock in
// QUENDRA_INSTANCE_LOCK, so that a copy someone else runs never gets in the way; without
// it, the usual lock.
QString measuredInstanceLockPath(const QString &usualPath);

// Prints the line above and ends the event loop after window's first paint.
void quitWhenPainted(QWidget *window);
