#pragma once

#include "PanoramaReference.h"

#include <QPainter>
#include <QPainterPath>

// The frames the view is fed in the pixel tests, and the comparison of what it drew with the CPU
// reference.
namespace PanoramaTestFrames {

using namespace PanoramaReference;

// Where the view draws nothing, the scene shows this.
const QRgb background = qRgb(0x20, 0x40, 0x60);

struct Comparison
{
    double meanError[3] = {0, 0, 0}; // per channel, in levels of 255
    double within8 = 0;              // share of the compared pixels with every channel within 8
    int compared = 0;
};

// The test frame: the red channel grows with the texture's u, green with v (so the centre's
// colour says which texture coordinate it shows), blue carries a fine pattern and the
// compass letters, "N" at u 0.5 and "E" at u 0.75, halfway down.
inline QImage testFrame()
{
    const int w = 1024, h = 512;
    QImage letters(w, h, QImage::Format_Grayscale8);
    letters.fill(0);
    {
        QPainter painter(&letters);
        painter.setRenderHint(QPainter::Antialiasing);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setBold(true);
        font.setPixelSize(60);
        const struct
        {
            double u;
            const char* text;
        } marks[] = {{0.25, "W"}, {0.5, "N"}, {0.75, "E"}};
        for (const auto& mark : marks) {
            QPainterPath path;
            path.addText(0, 0, font, QString::fromLatin1(mark.text));
            const QRectF box = path.boundingRect();
            painter.fillPath(path.translated(mark.u * w - box.center().x(), 0.5 * h - box.center().y()),
                             Qt::white);
        }
    }
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uchar* mask = letters.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            const double u = (x + 0.5) / w, v = (y + 0.5) / h;
            const double pattern = 128.0 + 90.0 * std::sin(twoPi * 16.0 * u) * std::sin(twoPi * 8.0 * v);
            const double blue = pattern + (255.0 - pattern) * mask[x] / 255.0;
            line[x] = qRgb(int(std::lround(255.0 * u)), int(std::lround(255.0 * v)), int(std::lround(blue)));
        }
    }
    return image;
}

// Two eyes' pictures in one frame: the test frame in one, flat magenta in the other.
inline QImage stereoFrame(Qt::Orientation along, bool testFrameSecond = false)
{
    const QImage picture = testFrame();
    QImage frame(along == Qt::Vertical ? QSize(picture.width(), 2 * picture.height())
                                       : QSize(2 * picture.width(), picture.height()),
                 QImage::Format_RGB32);
    frame.fill(qRgb(255, 0, 255));
    const QPoint second = along == Qt::Vertical ? QPoint(0, picture.height()) : QPoint(picture.width(), 0);
    QPainter(&frame).drawImage(testFrameSecond ? second : QPoint(0, 0), picture);
    return frame;
}

// The test frame's left half above its right half.
inline QImage stackedFrame()
{
    const QImage full = testFrame();
    QImage frame(full.width() / 2, full.height() * 2, QImage::Format_RGB32);
    QPainter painter(&frame);
    painter.drawImage(0, 0, full.copy(0, 0, full.width() / 2, full.height()));
    painter.drawImage(0, full.height(), full.copy(full.width() / 2, 0, full.width() / 2, full.height()));
    return frame;
}

// Mean error at most 2 levels per channel, 99 % of the pixels within 8 levels, and enough of
// the item compared for that to mean something.
inline bool acceptable(const Comparison& c)
{
    return c.meanError[0] <= 2.0 && c.meanError[1] <= 2.0 && c.meanError[2] <= 2.0 && c.within8 >= 0.99 &&
           c.compared >= 100000;
}

inline QString describe(const Comparison& c)
{
    return QString("mean error %1 / %2 / %3, %4 % within 8, %5 pixels compared")
        .arg(c.meanError[0], 0, 'f', 2)
        .arg(c.meanError[1], 0, 'f', 2)
        .arg(c.meanError[2], 0, 'f', 2)
        .arg(100.0 * c.within8, 0, 'f', 2)
        .arg(c.compared);
}

// Points of `area`, 37 rows and 53 columns apart, where a window of the real program must match the
// reference within 10 levels; a point or two on a sharp edge may fall a pixel apart. Empty when it
// matches, else what differs.
inline QString mismatch(const QImage& grabbed, const View& view, const QImage& frame, const QRect& area)
{
    const QSizeF size = grabbed.size();
    int wrong = 0;
    QString first;
    for (int y = area.top(); y <= area.bottom(); y += 37) {
        for (int x = area.left(); x <= area.right(); x += 53) {
            const std::optional<QPointF> a = textureCoordinate(view, size, x + 0.5, size.height() - y - 0.5);
            if (!a) {
                continue;
            }
            double rgb[3];
            sample(frame, *a, rgb);
            const QRgb got = grabbed.pixel(x, y);
            if (std::abs(qRed(got) - rgb[0]) > 10 || std::abs(qGreen(got) - rgb[1]) > 10 ||
                std::abs(qBlue(got) - rgb[2]) > 10) {
                if (wrong++ == 0) {
                    first = QString("(%1, %2) is %3 %4 %5, not %6 %7 %8")
                                .arg(x)
                                .arg(y)
                                .arg(qRed(got))
                                .arg(qGreen(got))
                                .arg(qBlue(got))
                                .arg(rgb[0], 0, 'f', 0)
                                .arg(rgb[1], 0, 'f', 0)
                                .arg(rgb[2], 0, 'f', 0);
                }
            }
        }
    }
    return wrong <= 2 ? QString() : QString("%1 points differ; %2").arg(wrong).arg(first);
}

inline Comparison compare(const QImage& grabbed, const QImage& frame, const View& v, QImage* expected)
{
    Comparison c;
    *expected = QImage(grabbed.size(), QImage::Format_RGB32);
    expected->fill(background);
    double sums[3] = {0, 0, 0};
    int within = 0;
    for (int row = 0; row < grabbed.height(); ++row) {
        const QRgb* line = reinterpret_cast<const QRgb*>(grabbed.constScanLine(row));
        QRgb* out = reinterpret_cast<QRgb*>(expected->scanLine(row));
        for (int column = 0; column < grabbed.width(); ++column) {
            const std::optional<QRgb> want = pixel(frame, v, grabbed.size(), column, row);
            if (!want) {
                continue;
            }
            out[column] = *want;
            const int d[3] = {std::abs(qRed(line[column]) - qRed(*want)),
                              std::abs(qGreen(line[column]) - qGreen(*want)),
                              std::abs(qBlue(line[column]) - qBlue(*want))};
            for (int i = 0; i < 3; ++i) {
                sums[i] += d[i];
            }
            within += std::max({d[0], d[1], d[2]}) <= 8;
            ++c.compared;
        }
    }
    for (int i = 0; i < 3; ++i) {
        c.meanError[i] = c.compared ? sums[i] / c.compared : 0.0;
    }
    c.within8 = c.compared ? double(within) / c.compared : 0.0;
    return c;
}

} // namespace PanoramaTestFrames
