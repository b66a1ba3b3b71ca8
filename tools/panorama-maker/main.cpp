// Writes an equirectangular test panorama as a JPEG of any size, one row at a time: a colour that
// changes slowly with longitude and latitude (every view looks different), pixel noise, a fine grid
// every 50 pixels, a coarse one every 500 with each cell's column and row written in its corner, so
// that detail reaches every edge and a wrong tile shows.
//
// usage: gyre-panorama-maker WIDTH HEIGHT OUT.jpg [QUALITY]
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

// 5x7 glyphs of the digits and the comma, one byte per row, bit 4 the leftmost pixel.
const uint8_t glyphs[11][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
    {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}};
constexpr int cell = 500;
constexpr int scale = 8;
constexpr int margin = 20;

uint32_t hash(uint32_t x, uint32_t y)
{
    uint32_t h = x * 374761393u + y * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

bool labelled(int x, int y)
{
    const int ly = y % cell - margin;
    const int lx = x % cell - margin;
    if (ly < 0 || ly >= 7 * scale || lx < 0) {
        return false;
    }
    const std::string text = std::to_string(x / cell) + "," + std::to_string(y / cell);
    const int index = lx / (6 * scale);
    const int gx = (lx % (6 * scale)) / scale;
    if (index >= int(text.size()) || gx >= 5) {
        return false;
    }
    const int glyph = text[size_t(index)] == ',' ? 10 : text[size_t(index)] - '0';
    return (glyphs[glyph][ly / scale] >> (4 - gx)) & 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT OUT.jpg [QUALITY]\n", argv[0]);
        return 2;
    }
    const int width = std::atoi(argv[1]);
    const int height = std::atoi(argv[2]);
    const int quality = argc > 4 ? std::atoi(argv[4]) : 90;
    FILE* out = std::fopen(argv[3], "wb");
    if (width <= 0 || height <= 0 || width > 65500 || height > 65500 || !out) {
        std::fprintf(stderr, "%s: cannot write %dx%d to %s\n", argv[0], width, height, argv[3]);
        return 1;
    }
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(size_t(width) * 3);
    const double pi = 3.14159265358979;
    for (int y = 0; y < height; ++y) {
        const double latitude = double(y) / height;
        for (int x = 0; x < width; ++x) {
            const double longitude = double(x) / width;
            double rgb[3] = {110 + 70 * std::sin(2 * pi * longitude), 110 + 70 * std::cos(pi * latitude),
                             110 + 60 * std::sin(2 * pi * (longitude + latitude))};
            const uint32_t noise = hash(uint32_t(x), uint32_t(y));
            for (int c = 0; c < 3; ++c) {
                rgb[c] += double(int((noise >> (8 * c)) & 0xff) - 128) / 4;
            }
            if (x % cell < 5 || y % cell < 5) {
                rgb[0] = 240, rgb[1] = 220, rgb[2] = 40;
            } else if (x % 50 == 0 || y % 50 == 0) {
                rgb[0] = rgb[1] = rgb[2] = 200;
            }
            if (labelled(x, y)) {
                rgb[0] = rgb[1] = rgb[2] = 255;
            }
            for (int c = 0; c < 3; ++c) {
                row[size_t(x) * 3 + size_t(c)] =
                    static_cast<unsigned char>(std::lround(std::fmin(255, std::fmax(0, rgb[c]))));
            }
        }
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(out) == 0 ? 0 : 1;
}
