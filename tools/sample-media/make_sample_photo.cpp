// Draws the sample photo: the band of the sphere that the viewer shows by default, 360 degrees of
// yaw from 15 degrees below to 45 degrees above the horizon, in the equirectangular layout. Sky,
// ground, a grid every 15 degrees and the compass letters make the orientation obvious: yaw 0 is
// the middle of the picture and "N", yaw +90 degrees "E" (to the right of "N"), yaw 180 degrees
// "S" (split over the left and right edges) and yaw 270 degrees "W".
//
// make-sample-photo <output.jpg> [width]    (the height is a sixth of the width)

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

constexpr double topLatitude = 45.0;
constexpr double bottomLatitude = -15.0;

struct Band
{
    int width;
    int height;
    double pixelsPerDegree() const { return width / 360.0; }
    // Yaw 0 is the middle column; yaw grows to the right.
    double x(double yawDegrees) const { return (yawDegrees + 180.0) * pixelsPerDegree(); }
    double y(double latitudeDegrees) const { return (topLatitude - latitudeDegrees) * pixelsPerDegree(); }
};

// Text centred on (x, y); at the left or right edge it is drawn on both sides, so that it reads
// whole across the seam of the sphere.
void drawCentredText(QPainter& painter, const Band& band, double x, double y, const QString& text)
{
    const QFontMetricsF metrics(painter.font());
    const QRectF box = metrics.tightBoundingRect(text);
    const QPointF origin(x - box.center().x(), y - box.center().y());
    for (const double shift : {-double(band.width), 0.0, double(band.width)}) {
        const QPointF at = origin + QPointF(shift, 0.0);
        if (at.x() + box.right() >= 0 && at.x() + box.left() <= band.width) {
            QPainterPath path;
            path.addText(at, painter.font(), text);
            painter.drawPath(path);
        }
    }
}

QImage drawBand(const Band& band)
{
    QImage image(band.width, band.height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double unit = band.pixelsPerDegree();
    const double horizon = band.y(0.0);

    QLinearGradient sky(0.0, 0.0, 0.0, horizon);
    sky.setColorAt(0.0, QColor(18, 52, 128));
    sky.setColorAt(1.0, QColor(150, 200, 240));
    painter.fillRect(QRectF(0.0, 0.0, band.width, horizon), sky);
    QLinearGradient ground(0.0, horizon, 0.0, band.height);
    ground.setColorAt(0.0, QColor(96, 140, 60));
    ground.setColorAt(1.0, QColor(70, 50, 30));
    painter.fillRect(QRectF(0.0, horizon, band.width, band.height - horizon), ground);

    // A sun high in the north-east, so that up and down differ even where no letter is in view.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 214, 80));
    painter.drawEllipse(QPointF(band.x(40.0), band.y(33.0)), 3.0 * unit, 3.0 * unit);

    // The grid: meridians every 15 degrees of yaw, parallels every 15 degrees of latitude.
    painter.setBrush(Qt::NoBrush);
    for (int yaw = -180; yaw <= 180; yaw += 15) {
        const bool cardinal = yaw % 90 == 0;
        painter.setPen(
            QPen(QColor(255, 255, 255, cardinal ? 220 : 140), cardinal ? 0.25 * unit : 0.12 * unit));
        painter.drawLine(QPointF(band.x(yaw), 0.0), QPointF(band.x(yaw), band.height));
    }
    for (int latitude = -15; latitude <= 45; latitude += 15) {
        const bool isHorizon = latitude == 0;
        painter.setPen(QPen(isHorizon ? QColor(255, 255, 255) : QColor(255, 255, 255, 140),
                            isHorizon ? 0.35 * unit : 0.12 * unit));
        painter.drawLine(QPointF(0.0, band.y(latitude)), QPointF(band.width, band.y(latitude)));
    }

    // Yaw in degrees under every meridian, latitude beside the parallels every 90 degrees.
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setBold(true);
    small.setPixelSize(int(1.6 * unit));
    painter.setFont(small);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255));
    for (int yaw = -165; yaw <= 180; yaw += 15) {
        drawCentredText(painter, band, band.x(yaw), band.y(-3.5), QStringLiteral("%1°").arg(yaw));
    }
    for (int yaw = -135; yaw <= 180; yaw += 90) {
        for (int latitude = -15; latitude <= 45; latitude += 15) {
            if (latitude == -15 || latitude == 45) {
                continue;
            }
            drawCentredText(painter, band, band.x(yaw + 7.5), band.y(latitude + 1.6),
                            QStringLiteral("%1%2°").arg(latitude > 0 ? "+" : "").arg(latitude));
        }
    }

    // The compass, standing on the horizon: N, E, S, W at yaw 0, 90, 180 and 270 (-90) degrees,
    // and the directions in between.
    QFont large(QStringLiteral("DejaVu Sans"));
    large.setBold(true);
    large.setPixelSize(int(16.0 * unit));
    painter.setFont(large);
    painter.setPen(QPen(QColor(20, 20, 20), 0.3 * unit));
    const struct
    {
        double yaw;
        const char* text;
        QColor colour;
    } compass[] = {{0.0, "N", QColor(230, 40, 40)},
                   {90.0, "E", QColor(255, 200, 0)},
                   {180.0, "S", QColor(250, 250, 250)},
                   {-90.0, "W", QColor(255, 120, 20)}};
    for (const auto& mark : compass) {
        painter.setBrush(mark.colour);
        drawCentredText(painter, band, band.x(mark.yaw), band.y(12.0), QString::fromLatin1(mark.text));
    }
    QFont medium = large;
    medium.setPixelSize(int(6.0 * unit));
    painter.setFont(medium);
    painter.setPen(QPen(QColor(20, 20, 20), 0.2 * unit));
    painter.setBrush(QColor(235, 235, 235));
    const struct
    {
        double yaw;
        const char* text;
    } between[] = {{45.0, "NE"}, {135.0, "SE"}, {-135.0, "SW"}, {-45.0, "NW"}};
    for (const auto& mark : between) {
        drawCentredText(painter, band, band.x(mark.yaw), band.y(6.0), QString::fromLatin1(mark.text));
    }
    painter.end();
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    // Fonts need a GUI application; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make-sample-photo <output.jpg> [width]\n");
        return 2;
    }
    const int width = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 6144;
    if (width < 360 || width % 6 != 0) {
        std::fprintf(stderr, "make-sample-photo: the width must be a multiple of 6, at least 360\n");
        return 2;
    }
    const QImage image = drawBand(Band{width, width / 6});
    if (!image.save(QString::fromLocal8Bit(argv[1]), nullptr, 88)) {
        std::fprintf(stderr, "make-sample-photo: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
