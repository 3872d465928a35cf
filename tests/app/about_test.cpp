#include "app/frmAbout.h"

#include <QLabel>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace {

TEST(AboutBox, VersionNumbersFormattedWithoutZeros)
{
    EXPECT_EQ(frmAbout::versionText(1, 2, 0), QStringLiteral("1.2  Rev."));
    EXPECT_EQ(frmAbout::versionText(1, 0, 5), QStringLiteral("1.  Rev.5"));
    EXPECT_EQ(frmAbout::versionText(2, 13, 7), QStringLiteral("2.13  Rev.7"));
}

TEST(AboutBox, ShowsTitleAndClosesAfterThreeSeconds)
{
    frmAbout about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    auto* title = about.findChild<QLabel*>(QStringLiteral("Label2"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), QStringLiteral("Kelvarinor"));
    ASSERT_NE(about.findChild<QLabel*>(QStringLiteral("lblversion")), nullptr);
    EXPECT_TRUE(about.timer()->isActive());
    EXPECT_EQ(about.timer()->interval(), 3000);
    // The timeout closes it just as the 3 seconds would (shortened here).
    about.show();
    about.timer()->start(5);
    EXPECT_TRUE(QTest::qWaitFor([&about] { return !about.isVisible(); }, 2000));
    EXPECT_FALSE(about.timer()->isActive());
}

TEST(AboutBox, ClickOnTitleOrPictureOrFormCloses)
{
    for (const char* target : {"Label2", "Image1", ""}) {
        frmAbout about;
        about.show();
        QWidget* w = *target ? about.findChild<QWidget*>(QString::fromLatin1(target)) : &about;
        ASSERT_NE(w, nullptr) << target;
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(2, 2));
        EXPECT_FALSE(about.isVisible()) << target;
        EXPECT_EQ(about.result(), QDialog::Accepted) << target;
    }
}

} // namespace

namespace {

// A tool for looking at the box, not a test: run it with
// --gtest_also_run_disabled_tests --gtest_filter='AboutBox.*Picture' and KV_GRAB_PNG=file.
TEST(AboutBox, DISABLED_Picture)
{
    const QString out = qEnvironmentVariable("KV_GRAB_PNG");
    if (out.isEmpty()) GTEST_SKIP() << "set KV_GRAB_PNG to a file name to save the about box's picture";
    frmAbout about;
    about.show();
    EXPECT_TRUE(about.grab().save(out + QStringLiteral(".about.png")));
}

} // namespace
