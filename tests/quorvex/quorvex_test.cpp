#include "quorvex/quorvex.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>
#include <vector>

namespace {

using IntFn = int32_t (*)(int32_t);
using ArrayFn = void (*)(const void*, const void*, const int16_t*);

QString libraryPath()
{
    return QString::fromLocal8Bit(qgetenv("KV_PROGRAM_DIR")) + QStringLiteral("/libquorvex.so");
}

class Quorvex : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        handle = dlopen(libraryPath().toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        addOne = reinterpret_cast<IntFn>(dlsym(handle, "ADDONE"));
        incr32 = reinterpret_cast<IntFn>(dlsym(handle, "INCR32"));
        addArray = reinterpret_cast<ArrayFn>(dlsym(handle, "ADDARRAY"));
    }
    static void TearDownTestSuite()
    {
        if (handle) dlclose(handle);
        handle = nullptr;
    }
    void SetUp() override
    {
        ASSERT_NE(handle, nullptr);
        ASSERT_NE(addOne, nullptr);
        ASSERT_NE(incr32, nullptr);
        ASSERT_NE(addArray, nullptr);
    }

    static void* handle;
    static IntFn addOne;
    static IntFn incr32;
    static ArrayFn addArray;
};

void* Quorvex::handle = nullptr;
IntFn Quorvex::addOne = nullptr;
IntFn Quorvex::incr32 = nullptr;
ArrayFn Quorvex::addArray = nullptr;

// A descriptor block laid out as ADDARRAY reads it, over a column-major
// array with the given lower bounds and extents.
struct Array2D {
    Array2D(int32_t lb1, int32_t count1, int32_t lb2, int32_t count2)
        : lbound1(lb1), count1(count1), lbound2(lb2), elements(static_cast<size_t>(count1 * count2), 0)
    {
        std::memset(desc, 0x5A, sizeof desc);  // fields ADDARRAY must not rely on
        int32_t* first = elements.data();
        std::memcpy(desc + QUORVEX_DESC_DATA, &first, sizeof first);
        std::memcpy(desc + QUORVEX_DESC_LBOUND1, &lb1, 4);
        std::memcpy(desc + QUORVEX_DESC_COUNT1, &count1, 4);
        std::memcpy(desc + QUORVEX_DESC_LBOUND2, &lb2, 4);
    }
    int32_t& at(int32_t i, int32_t j) { return elements[index(i, j)]; }
    int32_t at(int32_t i, int32_t j) const { return elements[index(i, j)]; }
    size_t index(int32_t i, int32_t j) const { return static_cast<size_t>((i - lbound1) + (j - lbound2) * count1); }

    int32_t lbound1, count1, lbound2;
    std::vector<int32_t> elements;
    alignas(8) char desc[QUORVEX_DESC_SIZE];
};

} // namespace

TEST_F(Quorvex, AddOneWrapsAtTheTop)
{
    EXPECT_EQ(addOne(41), 42);
    EXPECT_EQ(addOne(-1), 0);
    EXPECT_EQ(addOne(INT32_MAX), INT32_MIN);
}

TEST_F(Quorvex, Incr32ReturnsTheIncrementedCopy)
{
    int32_t x = INT32_MAX;
    EXPECT_EQ(incr32(x), INT32_MIN);
    EXPECT_EQ(x, INT32_MAX);
    EXPECT_EQ(incr32(-5), -4);
}

TEST_F(Quorvex, AddArrayWithZeroAddsExactlyOneElement)
{
    Array2D a(0, 2, 0, 2), b(0, 2, 0, 2);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) {
            a.at(i, j) = 10 * i + j;
            b.at(i, j) = 100;
        }
    const int16_t n = 0;
    addArray(a.desc, b.desc, &n);
    EXPECT_EQ(a.at(0, 0), 100);
    EXPECT_EQ(a.at(1, 0), 10);
    EXPECT_EQ(a.at(0, 1), 1);
    EXPECT_EQ(a.at(1, 1), 11);
}

TEST_F(Quorvex, AddArrayWithMinusOneChangesNothing)
{
    Array2D a(0, 1, 0, 1), b(0, 1, 0, 1);
    a.at(0, 0) = 7;
    b.at(0, 0) = 5;
    const int16_t n = -1;
    addArray(a.desc, b.desc, &n);
    EXPECT_EQ(a.at(0, 0), 7);
}

TEST_F(Quorvex, AddArrayHonoursLowerBoundsAndWraps)
{
    // A runs -1..2 x -2..2, B runs 0..2 x 0..3: both cover 0..2 in each index.
    Array2D a(-1, 4, -2, 5), b(0, 3, 0, 4);
    for (int32_t i = -1; i <= 2; ++i)
        for (int32_t j = -2; j <= 2; ++j) a.at(i, j) = 1000 * (i + 1) + (j + 2);
    for (int32_t i = 0; i <= 2; ++i)
        for (int32_t j = 0; j <= 3; ++j) b.at(i, j) = 10 * i + j;
    b.at(2, 2) = INT32_MAX;
    a.at(2, 2) = 1;
    const Array2D before = a;
    const int16_t n = 2;
    addArray(a.desc, b.desc, &n);
    for (int32_t i = -1; i <= 2; ++i)
        for (int32_t j = -2; j <= 2; ++j) {
            const int32_t old = before.at(i, j);
            if (i == 2 && j == 2) EXPECT_EQ(a.at(i, j), INT32_MIN);
            else if (i >= 0 && j >= 0) EXPECT_EQ(a.at(i, j), old + 10 * i + j) << i << "," << j;
            else EXPECT_EQ(a.at(i, j), old) << i << "," << j;
        }
}

TEST_F(Quorvex, AddArrayReadsNAgainBeforeEachRow)
{
    // n is the low half of A(0, 1): adding to it in row 0 widens the later
    // rows but not the number of rows.
    Array2D a(0, 4, 0, 4), b(0, 4, 0, 4);
    for (auto& e : b.elements) e = 1;
    a.at(0, 1) = 1;
    const auto* n = reinterpret_cast<const int16_t*>(reinterpret_cast<const char*>(&a.at(0, 1)));
    addArray(a.desc, b.desc, n);
    EXPECT_EQ(a.at(0, 1), 2);
    EXPECT_EQ(a.at(0, 2), 0);  // row 0 ran to 1
    EXPECT_EQ(a.at(1, 2), 1);  // row 1 ran to 2
    EXPECT_EQ(a.at(2, 0), 0);  // rows stopped at the first n
}

TEST(QuorvexLibrary, ExportsNothingButTheThreeRoutines)
{
    void* handle = dlopen(libraryPath().toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    EXPECT_EQ(dlsym(handle, "_ZN12_GLOBAL__N_111wrappingAddEii"), nullptr);
    dlclose(handle);

    const QString nm = QStandardPaths::findExecutable(QStringLiteral("nm"));
    if (nm.isEmpty()) GTEST_SKIP() << "nm not installed";
    QProcess p;
    p.start(nm, {QStringLiteral("-D"), QStringLiteral("--defined-only"), libraryPath()});
    ASSERT_TRUE(p.waitForFinished(30000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QStringList names;
    for (const QString& line : QString::fromLocal8Bit(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        const QString name = line.section(' ', -1);
        // Sanitizer builds add their own bookkeeping symbols.
        if (name.startsWith(QLatin1String("__asan")) || name.startsWith(QLatin1String("__odr_asan")) ||
            name.startsWith(QLatin1String("__ubsan")) || name.startsWith(QLatin1String("__sanitizer")))
            continue;
        names << name;
    }
    names.sort();
    EXPECT_EQ(names, QStringList({"ADDARRAY", "ADDONE", "INCR32"}));
}
