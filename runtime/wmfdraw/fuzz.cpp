// libFuzzer entry: any bytes drawn as a metafile, in process, so a fault of
// the metafile library or of the device shows as a crash, a hang or a leak
// of memory (see tools/fuzz-metafiles.sh).

#include "runtime/wmfdraw/MetafileDrawing.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    wmfdraw::drawMetafile(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
