#include "app/jpeg_picture.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace zelmora::ui {
namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: jump back.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void JumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void Quiet(j_common_ptr) {}

struct Decoder {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    QImage image;
};

// Everything libjpeg may jump out of happens here, touching only the decoder it is given, so
// the jump skips no destructor and leaves no local in doubt.
bool Decode(Decoder& decoder, const QByteArray& data) {
    if (setjmp(decoder.errors.jump))
        return false;
    jpeg_create_decompress(&decoder.info);
    jpeg_mem_src(&decoder.info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&decoder.info, TRUE);
    decoder.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&decoder.info);
    decoder.image = QImage(static_cast<int>(decoder.info.output_width),
                           static_cast<int>(decoder.info.output_height), QImage::Format_RGB888);
    while (decoder.info.output_scanline < decoder.info.output_height) {
        JSAMPROW row = decoder.image.scanLine(static_cast<int>(decoder.info.output_scanline));
        jpeg_read_scanlines(&decoder.info, &row, 1);
    }
    jpeg_finish_decompress(&decoder.info);
    return true;
}

} // namespace

QImage DecodeJpeg(const QByteArray& data) {
    if (data.isEmpty())
        return {};
    Decoder decoder;
    decoder.info.err = jpeg_std_error(&decoder.errors.base);
    decoder.errors.base.error_exit = JumpBack;
    decoder.errors.base.output_message = Quiet;
    const bool decoded = Decode(decoder, data);
    jpeg_destroy_decompress(&decoder.info);
    return decoded ? decoder.image : QImage();
}

} // namespace zelmora::ui
