#include "runtime/ByteIO.h"
#include "runtime/Picture.h"
#include "tests/support/Metafiles.h"

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SavePicture, WritesA24BitBitmapWhateverTheName)
{
    QTemporaryDir dir;
    QImage img(3, 2, QImage::Format_ARGB32);
    img.fill(qRgb(10, 20, 30));
    img.setPixel(2, 1, qRgb(255, 0, 128));
    const QString path = dir.filePath("temppic.tmp");
    ASSERT_TRUE(rt::SavePicture(img, path));

    const auto data = rt::readWholeFile(path);
    ASSERT_TRUE(data.has_value());
    ASSERT_GE(data->size(), 54);
    EXPECT_EQ(data->left(2), "BM");
    rt::LeReader r(*data);
    EXPECT_EQ(r.i16At(29), 24);  // bits per pixel
    QImageReader reader(path, "BMP");
    const QImage back = reader.read();
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.size(), QSize(3, 2));
    EXPECT_EQ(back.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(back.pixel(2, 1), qRgb(255, 0, 128));
}

TEST(SavePicture, EmptyPictureOrMissingFolderFailsAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("old.bmp");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    QString error;
    EXPECT_FALSE(rt::SavePicture(QImage(), path, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(rt::readWholeFile(path), QByteArray("old"));
    QImage img(1, 1, QImage::Format_RGB32);
    img.fill(Qt::white);
    EXPECT_FALSE(rt::SavePicture(img, dir.filePath("none/x.bmp")));
}

// A 16384 x 16384 pixel frame in a small file: the picture reader would
// refuse the drawn picture, so the player never draws it (it would allocate a
// gigabyte and could crash on the way out).
TEST(ReadMetafile, AFrameBeyondThePictureLimitIsRefusedBeforeDrawingWithItsSize)
{
    ASSERT_TRUE(rt::exceedsPictureLimit(16384, 16384));
    QString error;
    EXPECT_TRUE(rt::readMetafile(redRectangleMetafile(-1, 16384, 16384), &error).isNull());
    EXPECT_EQ(error, QStringLiteral("The Windows metafile could not be read: the picture is too large "
                                    "(16384 x 16384 pixels)"));
    // A frame the reader takes is drawn.
    EXPECT_FALSE(rt::exceedsPictureLimit(2048, 2048));
    EXPECT_EQ(rt::readMetafile(redRectangleMetafile(-1, 300, 200), &error).size(), QSize(300, 200));
}
