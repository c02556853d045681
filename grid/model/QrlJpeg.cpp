#include "grid/model/QrlJpeg.h"

#include <QImageReader>

#include <csetjmp>
#include <cstdio>
#include <cstring>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: we jump back into
// decode() and turn it into a failed result instead of the library's default exit().
struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onErrorExit(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings and traces stay quiet; libjpeg would print them to stderr.
void onOutputMessage(j_common_ptr) {}

// Source over the caller's bytes. Running out of data is an error: a truncated file must not
// come out as a picture padded with grey.
struct MemorySource
{
    jpeg_source_mgr pub;
};

void initSource(j_decompress_ptr) {}

boolean fillInputBuffer(j_decompress_ptr cinfo)
{
    ERREXIT(cinfo, JERR_INPUT_EOF);
    return FALSE;
}

void skipInputData(j_decompress_ptr cinfo, long numBytes)
{
    if (numBytes <= 0)
        return;
    jpeg_source_mgr *src = cinfo->src;
    if (static_cast<unsigned long>(numBytes) > src->bytes_in_buffer)
        ERREXIT(cinfo, JERR_INPUT_EOF);
    src->next_input_byte += numBytes;
    src->bytes_in_buffer -= static_cast<size_t>(numBytes);
}

void termSource(j_decompress_ptr) {}

std::size_t allocationLimitBytes()
{
    const int mb = QImageReader::allocationLimit();
    return mb > 0 ? static_cast<std::size_t>(mb) * 1024 * 1024 : std::size_t(1) << 30;
}

inline uchar scale255(unsigned a, unsigned b)
{
    return static_cast<uchar>((a * b + 127) / 255);
}

// Only plain C data lives in this frame, so the longjmp of an error skips no destructor;
// the image belongs to the caller.
bool decode(const uchar *data, std::size_t size, QImage &image, char *message)
{
    jpeg_decompress_struct cinfo;
    ErrorManager jerr;
    MemorySource src;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = jpeg_std_error(&jerr.pub);
    jerr.pub.error_exit = onErrorExit;
    jerr.pub.output_message = onOutputMessage;
    jerr.message[0] = '\0';

    if (setjmp(jerr.jump)) {
        std::strncpy(message, jerr.message, JMSG_LENGTH_MAX);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }

    jpeg_create_decompress(&cinfo);
    src.pub.next_input_byte = data;
    src.pub.bytes_in_buffer = size;
    src.pub.init_source = initSource;
    src.pub.fill_input_buffer = fillInputBuffer;
    src.pub.skip_input_data = skipInputData;
    src.pub.resync_to_restart = jpeg_resync_to_restart;
    src.pub.term_source = termSource;
    cinfo.src = &src.pub;

    jpeg_read_header(&cinfo, TRUE);
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
        cinfo.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        cinfo.out_color_space = JCS_CMYK;
        break;
    default:
        cinfo.out_color_space = JCS_RGB;
        break;
    }
    jpeg_calc_output_dimensions(&cinfo);
    const std::size_t bytes = std::size_t(cinfo.output_width) * cinfo.output_height * 3;
    if (bytes > allocationLimitBytes()) {
        std::snprintf(message, JMSG_LENGTH_MAX, "Picture too large (%u x %u)", cinfo.output_width,
                      cinfo.output_height);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    image = QImage(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_RGB888);
    if (image.isNull()) {
        std::snprintf(message, JMSG_LENGTH_MAX, "Out of memory");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }

    jpeg_start_decompress(&cinfo);
    const unsigned w = cinfo.output_width;
    const int components = cinfo.output_components;
    // Pool memory of the decompressor: freed by jpeg_destroy on every path.
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                w * JDIMENSION(components), 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        uchar *out = image.scanLine(int(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, row, 1);
        const uchar *in = row[0];
        if (components == 3) {
            std::memcpy(out, in, std::size_t(w) * 3);
        } else if (components == 1) {
            for (unsigned x = 0; x < w; ++x)
                out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = in[x];
        } else {
            // CMYK with an Adobe marker is stored inverted (the usual case).
            const bool inverted = cinfo.saw_Adobe_marker;
            for (unsigned x = 0; x < w; ++x, in += 4) {
                unsigned c = in[0], m = in[1], y = in[2], k = in[3];
                if (!inverted) {
                    c = 255 - c;
                    m = 255 - m;
                    y = 255 - y;
                    k = 255 - k;
                }
                out[3 * x] = scale255(c, k);
                out[3 * x + 1] = scale255(m, k);
                out[3 * x + 2] = scale255(y, k);
            }
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace

bool IsJpegData(const QByteArray &data)
{
    return data.size() >= 3 && uchar(data[0]) == 0xFF && uchar(data[1]) == 0xD8 &&
           uchar(data[2]) == 0xFF;
}

bool DecodeJpeg(const QByteArray &data, QImage &image, QString *error)
{
    char message[JMSG_LENGTH_MAX] = {};
    image = QImage();
    const bool ok = decode(reinterpret_cast<const uchar *>(data.constData()),
                           std::size_t(data.size()), image, message);
    if (!ok) {
        image = QImage();
        if (error)
            *error = QString::fromLocal8Bit(message);
    } else if (error) {
        error->clear();
    }
    return ok;
}
