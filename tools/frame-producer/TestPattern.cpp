#include "TestPattern.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

QFont patternFont(int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(std::max(pixelSize, 6));
    return font;
}

// Outlined, so it reads on every hue.
void drawText(QPainter& painter, const QString& text, const QFont& font, QPointF centre)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    path.translate(centre - path.boundingRect().center());
    painter.setPen(QPen(Qt::black, std::max(1.0, font.pixelSize() / 12.0)));
    painter.setBrush(Qt::white);
    painter.drawPath(path);
}

// Positions across the frame, as a share of its width, of the compass letters.
constexpr struct
{
    double u;
    const char* letter;
} compass[] = {{0.0, "S"}, {0.25, "W"}, {0.5, "N"}, {0.75, "E"}, {1.0, "S"}};

} // namespace

const QImage& TestPattern::frame(const QSize& size, quint64 frameNumber)
{
    if (background.size() != size) {
        drawBackground(size);
    }
    current = background.copy();
    QPainter painter(&current);
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = size.width(), h = size.height();

    const double turn = double(frameNumber % 300) / 300.0;
    const double radius = h / 14.0;
    painter.setPen(QPen(Qt::black, std::max(1.0, radius / 6.0)));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(turn * w, 0.85 * h), radius, radius);
    // Half of it shows at the other edge while it crosses the seam.
    painter.drawEllipse(QPointF(turn * w - w, 0.85 * h), radius, radius);

    const QFont font = patternFont(int(h / 12.0));
    for (const auto& mark : compass) {
        drawText(painter, QString::number(frameNumber), font, QPointF(mark.u * w, 0.68 * h));
    }
    return current;
}

void TestPattern::drawBackground(const QSize& size)
{
    background = QImage(size, QImage::Format_RGB888);
    const int w = size.width(), h = size.height();
    for (int y = 0; y < h; ++y) {
        uchar* line = background.scanLine(y);
        const double v = (y + 0.5) / h;
        for (int x = 0; x < w; ++x) {
            const QColor colour = QColor::fromHsvF((x + 0.5) / w, 0.75, 0.95 - 0.35 * v);
            line[3 * x] = uchar(colour.red());
            line[3 * x + 1] = uchar(colour.green());
            line[3 * x + 2] = uchar(colour.blue());
        }
    }
    QPainter painter(&background);
    painter.setPen(QPen(QColor(255, 255, 255, 160), std::max(1.0, w / 1440.0)));
    for (int step = 0; step < 12; ++step) {
        const double x = step * w / 12.0;
        painter.drawLine(QPointF(x, 0), QPointF(x, h));
    }
    for (int step = 1; step < 4; ++step) {
        painter.drawLine(QPointF(0, step * h / 4.0), QPointF(w, step * h / 4.0));
    }
    painter.setRenderHint(QPainter::Antialiasing);
    const QFont font = patternFont(int(h / 5.0));
    for (const auto& mark : compass) {
        drawText(painter, QString::fromLatin1(mark.letter), font, QPointF(mark.u * w, 0.4 * h));
    }
}
