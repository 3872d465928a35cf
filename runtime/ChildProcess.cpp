#include "runtime/ChildProcess.h"

#include "runtime/Ui.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <csignal>

#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

// AddressSanitizer reserves terabytes of address space at start: a program
// built with it cannot run under an address-space limit.
#if defined(__SANITIZE_ADDRESS__)
#define KV_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KV_ADDRESS_SANITIZER 1
#endif
#endif

namespace rt {

namespace {

constexpr bool kAddressSpaceLimited =
#ifdef KV_ADDRESS_SANITIZER
    false;
#else
    true;
#endif

// How often the pump runs and the child's memory is looked at.
constexpr int kPollMs = 20;

// The child's resident memory in bytes; 0 when it cannot be read.
qint64 residentBytes(qint64 pid)
{
    QFile statm(QStringLiteral("/proc/%1/statm").arg(pid));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readLine().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

} // namespace

ChildRun runLimited(const QString& program, const QStringList& arguments, const QByteArray& input,
                    const ChildLimits& limits)
{
    ChildRun run;
    QProcess process;
    const rlim_t cpuSeconds = rlim_t(limits.seconds) + 1;
    const rlim_t memory = rlim_t(limits.memoryBytes);
    // Runs in the child before the program starts: only system calls here.
    process.setChildProcessModifier([cpuSeconds, memory] {
        // The child goes when the editor goes, however the editor ends.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        const rlimit cpu{cpuSeconds, cpuSeconds};
        ::setrlimit(RLIMIT_CPU, &cpu);
        // A crash or the processor-time signal leaves no core file in the user's folder.
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        if (kAddressSpaceLimited) {
            const rlimit space{memory, memory};
            ::setrlimit(RLIMIT_AS, &space);
        }
    });
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForStarted()) {
        run.startError = process.errorString();
        return run;
    }
    process.write(input);
    process.closeWriteChannel();
    BusyGuard busy;
    run.outcome = ChildRun::Finished;
    while (process.state() != QProcess::NotRunning && !process.waitForFinished(kPollMs)) {
        if (process.state() == QProcess::NotRunning) break;
        if (clock.elapsed() > qint64(limits.seconds) * 1000)
            run.outcome = ChildRun::TimedOut;
        else if (residentBytes(process.processId()) > limits.memoryBytes)
            run.outcome = ChildRun::OutOfMemory;
        if (run.outcome != ChildRun::Finished) {
            process.kill();
            process.waitForFinished();
            return run;
        }
        DoEvents();
    }
    run.output = process.readAllStandardOutput();
    run.errors = process.readAllStandardError();
    if (process.exitStatus() == QProcess::CrashExit) {
        // Past the processor-time limit the system ends the child by signal.
        run.outcome = clock.elapsed() > qint64(limits.seconds) * 1000 ? ChildRun::TimedOut : ChildRun::Crashed;
        return run;
    }
    run.exitCode = process.exitCode();
    return run;
}

} // namespace rt
