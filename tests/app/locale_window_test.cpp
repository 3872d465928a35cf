// The main window for a user whose locale writes a decimal comma.

#include "tests/app/MainWindowFixture.h"
#include "tests/support/CommaLocale.h"

#include "terrain/clsTerrain.h"

#include <QLineEdit>

#include <cstring>
#include <optional>

namespace {

// The planet radius a TER file carries: the float after its "CRAD" tag.
std::optional<float> fileCrad(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = f.readAll();
    const qsizetype at = bytes.indexOf("CRAD");
    if (at < 0 || at + 8 > bytes.size()) return std::nullopt;
    float v = 0;
    std::memcpy(&v, bytes.constData() + at + 4, sizeof v);
    return v;
}

class CommaLocaleWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        SKIP_WITHOUT_COMMA_LOCALE(m_german);
        installPerlinSets();
        start();
        ASSERT_NE(window, nullptr);
    }

private:
    CommaLocale m_german;
};

} // namespace

TEST_F(CommaLocaleWindowTest, TerFileOpenedAndSavedKeepsItsPlanetRadius)
{
    EXPECT_EQ(w().txtPlanetRadius->text(), QStringLiteral("6370"));

    clsTerrain t;
    t.Init(129);
    for (int y = 0; y < 129; ++y)  // the full height range: the loader asks nothing
        for (int x = 0; x < 129; ++x) t.SetPoint(x, y, -32000 + 500 * y);
    t.setCRAD(6370.0f);
    const QString file = programDir.filePath("earth.ter");
    ASSERT_TRUE(t.SaveT(file));

    scriptedUi().expectOpenDialog({true, file, 1});
    w().Toolbar1_ButtonClick(QStringLiteral("Öffnen"));
    EXPECT_EQ(w().txtPlanetRadius->text(), QStringLiteral("6370"));

    w().Toolbar1_ButtonClick(QStringLiteral("Speichern"));
    EXPECT_EQ(fileCrad(file), std::optional<float>(6370.0f));
}
