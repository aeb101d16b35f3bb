#include "ui/jpeg_image.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace kelpra {

namespace {

// libjpeg's default error handler ends the process; ours jumps back to the decoder instead.
struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf back;
};

void leaveOnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorTrap *>(info->err)->back, 1);
}

void keepQuiet(j_common_ptr) {}

// Runs the decoder into *out. Kept apart from the caller so that nothing with a destructor
// lives in the frame that longjmp returns to; *out belongs to the caller.
bool decodeInto(const QByteArray &bytes, QImage *out)
{
    jpeg_decompress_struct info;
    ErrorTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = leaveOnError;
    trap.manager.output_message = keepQuiet;

    if (setjmp(trap.back)) {
        jpeg_destroy_decompress(&info);
        return false;
    }

    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<unsigned char *>(const_cast<char *>(bytes.constData())),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = info.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&info);

    const bool grey = info.out_color_space == JCS_GRAYSCALE;
    *out = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                  grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    if (out->isNull()) { // too large to hold
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    // A truncated or damaged stream only draws warnings (libjpeg fills in the rest);
    // a picture patched up like that is not the picture we were given.
    const bool clean = trap.manager.num_warnings == 0;
    jpeg_destroy_decompress(&info);
    return clean;
}

} // namespace

QImage decodeJpeg(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QImage();
    QImage image;
    if (!decodeInto(bytes, &image))
        return QImage();
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace kelpra
