#include "runtime/ChildProcess.h"
#include "runtime/Ui.h"
#include "tests/support/ScriptedUi.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

rt::ChildRun shell(const QString& script, const rt::ChildLimits& limits = {}, const QByteArray& input = {})
{
    return rt::runLimited(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script}, input, limits);
}

} // namespace

// The child gets the input, its answer and exit code come back, and it runs
// under a processor-time limit one second above the wall-clock limit and an
// address-space limit (not under AddressSanitizer, which reserves terabytes).
TEST(ChildProcess, RunsTheChildOnItsInputUnderTheLimits)
{
    const rt::ChildRun echo = shell(QStringLiteral("cat; exit 3"), {}, "bytes\n");
    EXPECT_EQ(echo.outcome, rt::ChildRun::Finished);
    EXPECT_EQ(echo.exitCode, 3);
    EXPECT_EQ(echo.output, "bytes\n");

    rt::ChildLimits limits;
    limits.seconds = 4;
    limits.memoryBytes = 256LL << 20;
    const rt::ChildRun run = shell(QStringLiteral("ulimit -t; ulimit -v"), limits);
    ASSERT_EQ(run.outcome, rt::ChildRun::Finished);
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(run.output, "5\nunlimited\n");
#else
    EXPECT_EQ(run.output, "5\n262144\n");
#endif
}

TEST(ChildProcess, AChildPastItsTimeIsKilledWhileTheEventPumpRuns)
{
    bool busyMeanwhile = false;
    scriptedUi().onPumpAsked = [&] { busyMeanwhile = rt::BusyFlag; };
    rt::ChildLimits limits;
    limits.seconds = 1;
    QElapsedTimer clock;
    clock.start();
    const rt::ChildRun run = shell(QStringLiteral("sleep 30"), limits);
    EXPECT_EQ(run.outcome, rt::ChildRun::TimedOut);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_GT(scriptedUi().pumpAskedCount, 10);
    EXPECT_TRUE(busyMeanwhile);
    EXPECT_FALSE(rt::BusyFlag);
}

TEST(ChildProcess, ACrashIsToldApartFromAnAnswer)
{
    EXPECT_EQ(shell(QStringLiteral("kill -SEGV $$")).outcome, rt::ChildRun::Crashed);
    const rt::ChildRun missing = rt::runLimited(QStringLiteral("/nonexistent/program"), {}, {}, {});
    EXPECT_EQ(missing.outcome, rt::ChildRun::NotStarted);
    EXPECT_FALSE(missing.startError.isEmpty());
}

// A child that goes on taking memory is stopped: where the address space is
// limited its allocation fails, elsewhere the editor sees its memory grow and
// kills it. Either way it never holds the memory for long.
TEST(ChildProcess, AChildTakingTooMuchMemoryIsStopped)
{
    rt::ChildLimits limits;
    limits.seconds = 20;
    limits.memoryBytes = 64LL << 20;
    QElapsedTimer clock;
    clock.start();
    const rt::ChildRun run =
        shell(QStringLiteral("x=$(head -c 400000000 /dev/zero | tr '\\0' x); sleep 30"), limits);
    EXPECT_LT(clock.elapsed(), 15000);
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(run.outcome, rt::ChildRun::OutOfMemory);
#else
    // Its shell dies of the failed allocation.
    EXPECT_TRUE(run.outcome == rt::ChildRun::Crashed || (run.outcome == rt::ChildRun::Finished && run.exitCode != 0))
        << run.outcome;
#endif
}
