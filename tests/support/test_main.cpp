// Shared main of the test programs: a headless application object, and a fresh
// scripted user-interface service for every test.

#include "tests/support/ScriptedUi.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
ScriptedUi* g_current = nullptr;

class ScriptedUiListener : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override
    {
        g_current = new ScriptedUi;
        rt::setUi(g_current);
    }
    void OnTestEnd(const testing::TestInfo&) override
    {
        rt::setUi(nullptr);
        delete g_current;
        g_current = nullptr;
    }
};
} // namespace

ScriptedUi& scriptedUi()
{
    return *g_current;
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new ScriptedUiListener);
    return RUN_ALL_TESTS();
}
