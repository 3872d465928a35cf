#pragma once
// Running a helper program under limits: what it is given, how long it may
// take and how much memory it may hold. The caller waits with the event pump
// running, and a crash, a time-out or too much memory is told apart from an
// answer.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace rt {

struct ChildLimits {
    int seconds = 5;                  // wall-clock time
    qint64 memoryBytes = 1LL << 30;  // address space, or resident memory where that cannot be limited
};

struct ChildRun {
    enum Outcome { Finished, Crashed, TimedOut, OutOfMemory, NotStarted };
    Outcome outcome = NotStarted;
    int exitCode = 0;     // when Finished
    QByteArray output;    // standard output
    QByteArray errors;    // standard error
    QString startError;   // when NotStarted
};

// Runs program with input on its standard input and waits for it within the
// limits; busy meanwhile, with the event pump running. A run over the limits
// is killed.
ChildRun runLimited(const QString& program, const QStringList& arguments, const QByteArray& input,
                    const ChildLimits& limits);

} // namespace rt
