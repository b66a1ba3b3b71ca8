#include "HJpegReader.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// libjpeg's error manager first, so that its address is the whole record's.
struct JpegErrors
{
    jpeg_error_mgr manager{};
    std::jmp_buf back{};
    char message[JMSG_LENGTH_MAX]{};
};

// libjpeg reports a fatal error by calling this; it returns to the setjmp of the call in progress.
[[noreturn]] void failed(j_common_ptr info)
{
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    info->err->format_message(info, errors->message);
    std::longjmp(errors->back, 1);
}

// Warnings (a damaged entropy segment and the like) are not fatal; the rows come out as decoded.
void warned(j_common_ptr, int)
{
}

} // namespace

struct HJpegReader::Decoder
{
    jpeg_decompress_struct info{};
    JpegErrors errors;
    FILE* file = nullptr;
    bool created = false;
    bool started = false;
    QString error;

    ~Decoder()
    {
        if (created) {
            jpeg_destroy_decompress(&info);
        }
        if (file) {
            std::fclose(file);
        }
    }
};

HJpegReader::HJpegReader() = default;
HJpegReader::~HJpegReader() = default;

QSize HJpegReader::pictureSize(const QString& path)
{
    HJpegReader reader;
    // The header alone: starting the decoder would set up its buffers, the whole picture's for a
    // progressive file.
    return reader.begin(path, 0)
               ? QSize(int(reader.decoder->info.image_width), int(reader.decoder->info.image_height))
               : QSize();
}

bool HJpegReader::open(const QString& path, int reduction)
{
    return begin(path, reduction);
}

bool HJpegReader::begin(const QString& path, int reduction)
{
    decoder = std::make_unique<Decoder>();
    Decoder& d = *decoder;
    d.file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!d.file) {
        d.error = QStringLiteral("cannot open the file");
        return false;
    }
    d.info.err = jpeg_std_error(&d.errors.manager);
    d.errors.manager.error_exit = failed;
    d.errors.manager.emit_message = warned;
    if (setjmp(d.errors.back)) {
        d.error = QString::fromLatin1(d.errors.message);
        return false;
    }
    jpeg_create_decompress(&d.info);
    d.created = true;
    jpeg_stdio_src(&d.info, d.file);
    jpeg_read_header(&d.info, TRUE);
    if (reduction == 0) {
        return true;
    }
    d.info.scale_num = 1;
    d.info.scale_denom = unsigned(reduction == 2 || reduction == 4 || reduction == 8 ? reduction : 1);
    d.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d.info);
    d.started = true;
    if (d.info.output_components != 3) {
        d.error = QStringLiteral("not a colour or grey picture");
        return false;
    }
    return true;
}

QSize HJpegReader::fullSize() const
{
    return decoder && decoder->started
               ? QSize(int(decoder->info.image_width), int(decoder->info.image_height))
               : QSize();
}

QSize HJpegReader::outputSize() const
{
    return decoder && decoder->started
               ? QSize(int(decoder->info.output_width), int(decoder->info.output_height))
               : QSize();
}

bool HJpegReader::progressive() const
{
    return decoder && decoder->started && decoder->info.progressive_mode;
}

int HJpegReader::readRows(unsigned char* rows, int maxRows)
{
    if (!decoder || !decoder->started || !decoder->error.isEmpty()) {
        return 0;
    }
    Decoder& d = *decoder;
    const size_t stride = size_t(d.info.output_width) * 3;
    // Kept in memory across the jump back from a fatal error.
    volatile int done = 0;
    if (setjmp(d.errors.back)) {
        d.error = QString::fromLatin1(d.errors.message);
        return 0;
    }
    while (done < maxRows && d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = rows + size_t(done) * stride;
        done = done + int(jpeg_read_scanlines(&d.info, &row, 1));
    }
    return done;
}

QString HJpegReader::error() const
{
    return decoder ? decoder->error : QString();
}
