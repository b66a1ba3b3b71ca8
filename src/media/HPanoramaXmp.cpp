#include "HPanoramaXmp.h"

#include <QHash>
#include <QXmlStreamReader>

#include <cmath>

namespace {

const QString panoramaNamespace = QStringLiteral("http://ns.google.com/photos/1.0/panorama/");
const QString sphericalNamespace = QStringLiteral("http://ns.google.com/videos/1.0/spherical/");

bool isPanoramaName(const QStringRef& namespaceUri, const QStringRef& qualifiedName)
{
    if (namespaceUri == panoramaNamespace || namespaceUri == sphericalNamespace) {
        return true;
    }
    // Writers that forget to declare the prefix still use the usual one.
    return qualifiedName.startsWith(QLatin1String("GPano:")) ||
           qualifiedName.startsWith(QLatin1String("GSpherical:"));
}

QString localName(const QStringRef& qualifiedName)
{
    const int colon = qualifiedName.indexOf(QLatin1Char(':'));
    return qualifiedName.mid(colon + 1).toString();
}

QHash<QString, QString> panoramaProperties(const QByteArray& packet)
{
    QHash<QString, QString> properties;
    QXmlStreamReader xml(packet);
    // Undeclared prefixes are an error with namespace processing; the names are matched either way.
    xml.setNamespaceProcessing(true);
    while (!xml.atEnd() && properties.size() < 64) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        for (const QXmlStreamAttribute& attribute : xml.attributes()) {
            if (isPanoramaName(attribute.namespaceUri(), attribute.qualifiedName())) {
                properties.insert(localName(attribute.qualifiedName()),
                                  attribute.value().trimmed().toString());
            }
        }
        if (isPanoramaName(xml.namespaceUri(), xml.qualifiedName())) {
            const QString name = localName(xml.qualifiedName());
            properties.insert(name, xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed());
        }
    }
    if (xml.hasError() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError) {
        // Keep what came before the fault: a damaged tail should not hide a good head.
        properties.insert(QStringLiteral("#error"), xml.errorString());
    }
    return properties;
}

double number(const QHash<QString, QString>& properties, const char* name, bool* ok)
{
    const QString text = properties.value(QLatin1String(name));
    bool parsed = false;
    const double value = text.toDouble(&parsed);
    *ok = parsed && std::isfinite(value);
    return *ok ? value : 0.0;
}

} // namespace

HPictureGeometry HPanoramaXmp::parse(const QByteArray& packet, int imageWidth, int imageHeight,
                                     HPictureGeometry::Origin origin)
{
    HPictureGeometry geometry;
    if (packet.isEmpty() || packet.size() > maxPacketSize) {
        return geometry;
    }
    const QHash<QString, QString> properties = panoramaProperties(packet);
    const QString projection = properties.value(QStringLiteral("ProjectionType")).toLower();
    if (projection != QLatin1String("equirectangular")) {
        return geometry;
    }

    bool hasFullWidth = false;
    bool hasFullHeight = false;
    bool ok = false;
    const double fullWidth = number(properties, "FullPanoWidthPixels", &hasFullWidth);
    const double fullHeight = number(properties, "FullPanoHeightPixels", &hasFullHeight);
    double cropWidth = number(properties, "CroppedAreaImageWidthPixels", &ok);
    if (!ok) {
        cropWidth = imageWidth;
    }
    double cropHeight = number(properties, "CroppedAreaImageHeightPixels", &ok);
    if (!ok) {
        cropHeight = imageHeight;
    }
    const double left = number(properties, "CroppedAreaLeftPixels", &ok);
    const double top = number(properties, "CroppedAreaTopPixels", &ok);
    if (hasFullWidth && hasFullHeight) {
        geometry =
            HPictureGeometry::fromCrop(fullWidth, fullHeight, cropWidth, cropHeight, left, top, origin);
    }
    geometry.origin = origin;

    const QString stereo = properties.value(QStringLiteral("StereoMode")).toLower();
    if (stereo == QLatin1String("mono")) {
        geometry.stereo = HPictureGeometry::Mono;
    } else if (stereo == QLatin1String("top-bottom")) {
        geometry.stereo = HPictureGeometry::OverUnder;
    } else if (stereo == QLatin1String("left-right")) {
        geometry.stereo = HPictureGeometry::SideBySide;
    }

    bool hasHeading = false;
    bool hasPitch = false;
    bool hasFov = false;
    const double heading = number(properties, "InitialViewHeadingDegrees", &hasHeading);
    const double pitch = number(properties, "InitialViewPitchDegrees", &hasPitch);
    const double fov = number(properties, "InitialHorizontalFOVDegrees", &hasFov);
    // Headings are compass degrees; the frame's centre has the pose's heading (0 when not given).
    const double pose = number(properties, "PoseHeadingDegrees", &ok);
    if (hasHeading || hasPitch || hasFov) {
        geometry.hasInitialView = true;
        const double relative = std::remainder(heading - pose, 360.0);
        geometry.initialYaw = float(relative * HPictureGeometry::radiansPerDegree);
        geometry.initialPitch =
            float(std::max(-90.0, std::min(90.0, pitch)) * HPictureGeometry::radiansPerDegree);
        geometry.initialHorizontalFov = hasFov && fov > 0 && fov <= 360 ? float(fov) : 0.0f;
    }
    return geometry;
}
