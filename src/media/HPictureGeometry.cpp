#include "HPictureGeometry.h"

#include <QCoreApplication>

#include <cmath>

namespace {

constexpr double pi = 3.141592653589793;
constexpr float piF = 3.1415927f;
constexpr float halfPiF = 1.5707964f;

QString degrees(float radians)
{
    // One decimal, halves away from zero once float noise is gone (11.25 reads "11.3"), and a real
    // minus sign.
    const double tenths =
        std::round(std::round(double(radians) * HPictureGeometry::degreesPerRadian * 1e4) / 1e3);
    QString text = QString::number(tenths / 10.0, 'f', 1);
    if (text.endsWith(QLatin1String(".0"))) {
        text.chop(2);
    }
    if (text == QLatin1String("-0")) {
        text = QStringLiteral("0");
    }
    return text.replace(QLatin1Char('-'), QChar(0x2212)) + QChar(0x00b0);
}

} // namespace

HPictureGeometry HPictureGeometry::fullSphere(Origin origin)
{
    HPictureGeometry geometry;
    geometry.origin = origin;
    geometry.hasBounds = true;
    geometry.yawMin = -piF;
    geometry.yawMax = piF;
    geometry.pitchMin = -halfPiF;
    geometry.pitchMax = halfPiF;
    return geometry;
}

HPictureGeometry HPictureGeometry::band()
{
    HPictureGeometry geometry = fullSphere(Origin::Band);
    geometry.pitchMin = -0.2617994f;
    geometry.pitchMax = 0.7853982f;
    return geometry;
}

HPictureGeometry HPictureGeometry::fromCrop(double fullWidth, double fullHeight, double cropWidth,
                                            double cropHeight, double left, double top, Origin origin)
{
    const auto finite = [](double v) { return std::isfinite(v); };
    if (!finite(fullWidth) || !finite(fullHeight) || !finite(cropWidth) || !finite(cropHeight) ||
        !finite(left) || !finite(top) || fullWidth <= 0 || fullHeight <= 0 || cropWidth <= 0 ||
        cropHeight <= 0 || left < 0 || top < 0 || left + cropWidth > fullWidth * 1.0001 ||
        top + cropHeight > fullHeight * 1.0001) {
        return HPictureGeometry();
    }
    HPictureGeometry geometry;
    geometry.origin = origin;
    geometry.hasBounds = true;
    geometry.yawMin = float(-pi + left / fullWidth * 2.0 * pi);
    geometry.yawMax = float(-pi + (left + cropWidth) / fullWidth * 2.0 * pi);
    geometry.pitchMax = float(pi / 2.0 - top / fullHeight * pi);
    geometry.pitchMin = float(pi / 2.0 - (top + cropHeight) / fullHeight * pi);
    // The exact ends, so that a full crop compares equal to the full sphere.
    if (left == 0 && cropWidth >= fullWidth) {
        geometry.yawMin = -piF;
        geometry.yawMax = piF;
    }
    if (top == 0) {
        geometry.pitchMax = halfPiF;
    }
    if (top + cropHeight >= fullHeight) {
        geometry.pitchMin = -halfPiF;
    }
    return geometry;
}

HPictureGeometry HPictureGeometry::fromAspect(double width, double height)
{
    if (!(width > 0) || !(height > 0) || std::abs(width / height - 2.0) > 0.04) {
        return HPictureGeometry();
    }
    return fullSphere(Origin::Aspect);
}

QString HPictureGeometry::coverageText() const
{
    if (!hasBounds) {
        return QCoreApplication::translate("HPictureGeometry", "Unknown");
    }
    const bool allAround = yawMax - yawMin >= 2.0f * piF - 1e-4f;
    const bool pole = pitchMax >= halfPiF - 1e-4f && pitchMin <= -halfPiF + 1e-4f;
    if (allAround && pole) {
        return QCoreApplication::translate("HPictureGeometry", "Full sphere");
    }
    if (pole && std::abs(yawMax - yawMin - piF) < 1e-3f) {
        return QCoreApplication::translate("HPictureGeometry", "Half sphere 180°");
    }
    QString text = QCoreApplication::translate("HPictureGeometry", "Band %1…%2")
                       .arg(degrees(pitchMax), degrees(pitchMin));
    if (!allAround) {
        text += QStringLiteral(", ") +
                QCoreApplication::translate("HPictureGeometry", "%1 wide").arg(degrees(yawMax - yawMin));
    }
    return text;
}

bool HPictureGeometry::operator==(const HPictureGeometry& o) const
{
    return origin == o.origin && hasBounds == o.hasBounds && yawMin == o.yawMin && yawMax == o.yawMax &&
           pitchMin == o.pitchMin && pitchMax == o.pitchMax && stereo == o.stereo &&
           hasInitialView == o.hasInitialView && initialYaw == o.initialYaw &&
           initialPitch == o.initialPitch && initialHorizontalFov == o.initialHorizontalFov;
}
