#include "terrain/STDIO.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

TEST(StdioFileExists, OnlyExistingFilesCount)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("a.ter"));
    EXPECT_FALSE(STDIO::FileExists(QString()));
    EXPECT_FALSE(STDIO::FileExists(file));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_TRUE(STDIO::FileExists(file));
    EXPECT_FALSE(STDIO::FileExists(dir.path()));  // a folder is not a file
    EXPECT_TRUE(STDIO::FileExists(dir.filePath(QStringLiteral("*.ter"))));
    EXPECT_FALSE(STDIO::FileExists(dir.filePath(QStringLiteral("*.bmp"))));
}

TEST(StdioNumbers, IncAddsStepAndSaturatesIntegers)
{
    int v = 5;
    STDIO::Inc(v);
    EXPECT_EQ(v, 6);
    STDIO::Inc(v, -10);
    EXPECT_EQ(v, -4);
    int16_t s = 32766;
    STDIO::Inc(s, int16_t(5));
    EXPECT_EQ(s, 32767);
    double d = 0.5;
    STDIO::Inc(d, 0.25);
    EXPECT_DOUBLE_EQ(d, 0.75);
}

TEST(StdioNumbers, SwapMinMaxClamp)
{
    int a = 1, b = 2;
    STDIO::Swap(a, b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(STDIO::Min(3, 3), 3);
    EXPECT_EQ(STDIO::Max(3, 3), 3);
    EXPECT_EQ(STDIO::Min(4, 2.5), 2.5);
    EXPECT_EQ(STDIO::Max(4, 2.5), 4.0);
    EXPECT_EQ(STDIO::Clamp(0, 255, 300), 255);
    EXPECT_EQ(STDIO::Clamp(0, 255, -4), 0);
    EXPECT_EQ(STDIO::Clamp(0, 255, 7), 7);
}

TEST(StdioNumbers, MinAndMaxReturnTheFirstOfEqualValues)
{
    // Equal values of different identity: the first argument comes back.
    const double negZero = -0.0;
    EXPECT_TRUE(std::signbit(STDIO::Min(negZero, 0.0)));
    EXPECT_TRUE(std::signbit(STDIO::Max(negZero, 0.0)));
}

TEST(StdioTextBox, NumericKeyFilter)
{
    EXPECT_TRUE(STDIO::IsNumericKey(QString(), '0'));
    EXPECT_TRUE(STDIO::IsNumericKey(QString(), '9'));
    EXPECT_TRUE(STDIO::IsNumericKey(QStringLiteral("12"), ','));
    EXPECT_FALSE(STDIO::IsNumericKey(QStringLiteral("1,2"), ','));
    EXPECT_TRUE(STDIO::IsNumericKey(QString(), '-'));
    EXPECT_TRUE(STDIO::IsNumericKey(QStringLiteral("-"), '-'));
    EXPECT_TRUE(STDIO::IsNumericKey(QString(), 8));
    EXPECT_TRUE(STDIO::IsNumericKey(QString(), 13));
    EXPECT_FALSE(STDIO::IsNumericKey(QString(), '.'));
    EXPECT_FALSE(STDIO::IsNumericKey(QString(), 'a'));
}

TEST(StdioTextBox, ClampTextBoxWritesTheClampedNumberBack)
{
    QString text = QStringLiteral("12abc");
    EXPECT_EQ(STDIO::ClampTextBox(text, 1, 10), 10);
    EXPECT_EQ(text, QStringLiteral("10"));
    text = QStringLiteral("abc");
    EXPECT_EQ(STDIO::ClampTextBox(text, 1, 10), 1);
    EXPECT_EQ(text, QStringLiteral("1"));
    text = QStringLiteral(" 2.5");
    EXPECT_EQ(STDIO::ClampTextBox(text, 0, 10), 2.5);
    EXPECT_EQ(text, QStringLiteral("2.5"));
}

TEST(StdioText, CutAtNullStopsAtZeroAndTrimsBlanks)
{
    EXPECT_EQ(STDIO::CutAtNull(QStringLiteral("abc") + QChar(u'\0') + QChar(u'\0') + QStringLiteral("x")),
              QStringLiteral("abc"));
    EXPECT_EQ(STDIO::CutAtNull(QStringLiteral("  abc  ")), QStringLiteral("abc"));
    EXPECT_EQ(STDIO::CutAtNull(QString()), QString());
    EXPECT_EQ(STDIO::CutAtNull(QString(QChar(u'\0'))), QString());
}
