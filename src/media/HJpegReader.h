#pragma once

#include <QSize>
#include <QString>

#include <memory>

// A JPEG decoded row by row, whole or reduced by 2, 4 or 8 in the decoder itself (a reduction by 8
// reads little more than the DC coefficients). Rows come out as packed RGB, top to bottom; memory
// stays a few rows wide whatever the picture's size, except for progressive files, whose decoder
// holds every coefficient of the picture. A damaged file ends with error() set, never with a crash.
class HJpegReader
{
public:
    HJpegReader();
    ~HJpegReader();
    HJpegReader(const HJpegReader&) = delete;
    HJpegReader& operator=(const HJpegReader&) = delete;

    // The size in the file's header; empty for what is no readable JPEG.
    static QSize pictureSize(const QString& path);

    // Starts decoding at 1/reduction of the full size (1, 2, 4 or 8).
    bool open(const QString& path, int reduction);
    // Full size and the size the rows come out at.
    QSize fullSize() const;
    QSize outputSize() const;
    bool progressive() const;
    // Up to maxRows rows of outputSize().width() * 3 bytes each into rows; the number read, 0 at
    // the end or after an error.
    int readRows(unsigned char* rows, int maxRows);
    QString error() const;

private:
    // reduction 0: the header only.
    bool begin(const QString& path, int reduction);

    struct Decoder;
    std::unique_ptr<Decoder> decoder;
};
