// kv_wmfdraw: draws the Windows metafile given on standard input and writes
// the picture to standard output (see Protocol.h). The editor runs it as a
// separate program under a time and memory limit, so a metafile that crashes
// or exhausts the metafile library costs only this process.

#include "runtime/wmfdraw/MetafileDrawing.h"

#include <QFile>
#include <QGuiApplication>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>

#include <unistd.h>

namespace {

// Leaves at once: no destructors, no sanitizer reports at exit.
[[noreturn]] void leave(int code)
{
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(code);
}

[[noreturn]] void outOfMemory()
{
    std::fputs("out of memory\n", stderr);
    leave(wmfdraw::OutOfMemory);
}

// Qt reports a failed allocation by throwing; everything else that ends the
// program this way is a fault.
[[noreturn]] void terminated()
{
    if (const std::exception_ptr e = std::current_exception()) {
        try {
            std::rethrow_exception(e);
        } catch (const std::bad_alloc&) {
            outOfMemory();
        } catch (...) {
        }
    }
    std::abort();
}

void writeAll(const char* data, size_t size)
{
    if (size > 0 && std::fwrite(data, 1, size, stdout) != size) leave(EXIT_FAILURE);
}

} // namespace

int main(int argc, char** argv)
{
    std::set_new_handler(outOfMemory);
    std::set_terminate(terminated);
    // Never a window: text is measured and drawn without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's warnings about odd coordinates are no concern of the editor's, which
    // reads standard error only for the reason of a refusal.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QGuiApplication app(argc, argv);

    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly)) leave(EXIT_FAILURE);
    const wmfdraw::Drawing drawing = wmfdraw::drawMetafile(input.readAll());
    if (drawing.exit != wmfdraw::Drawn) {
        std::fprintf(stderr, "%s\n", drawing.reason.toUtf8().constData());
        leave(drawing.exit);
    }
    const QImage& picture = drawing.picture;
    char header[wmfdraw::kPictureHeaderBytes];
    std::memcpy(header, wmfdraw::kPictureTag, 4);
    qToLittleEndian<quint32>(quint32(picture.width()), header + 4);
    qToLittleEndian<quint32>(quint32(picture.height()), header + 8);
    writeAll(header, sizeof header);
    for (int y = 0; y < picture.height(); ++y)
        writeAll(reinterpret_cast<const char*>(picture.constScanLine(y)), size_t(picture.width()) * 4);
    leave(wmfdraw::Drawn);
}
