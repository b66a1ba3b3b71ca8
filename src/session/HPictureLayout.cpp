#include "HPictureLayout.h"

#include "SessionLogging.h"
#include "base/HSettingsManager.h"
#include "media/HPictureMetadata.h"
#include "session/HGlobalObject.h"

#include <QStringList>

#include <cmath>

namespace {

const QStringList pictureChoices{"auto", "sphere", "band"};
const QStringList stereoChoices{"auto", "mono", "overunder", "sidebyside"};
const QStringList stackedChoices{"auto", "on", "off"};
const QStringList eyes{"left", "right"};
constexpr const char* pictureKey = "view/picture";
constexpr const char* stereoKey = "view/stereo";
constexpr const char* stackedKey = "view/stacked";
constexpr const char* eyeKey = "view/eye";

QString stored(HSettingsManager* settings, const char* key, const QStringList& allowed)
{
    const QString value = settings->getString(QLatin1String(key), allowed.first());
    return allowed.contains(value) ? value : allowed.first();
}

QString next(const QString& value, const QStringList& allowed)
{
    return allowed.at((allowed.indexOf(value) + 1) % allowed.size());
}

QString originText(HPictureGeometry::Origin origin)
{
    switch (origin) {
    case HPictureGeometry::Origin::SphericalBoxes:
        return HPictureLayout::tr("from metadata");
    case HPictureGeometry::Origin::SphericalXmp:
        return HPictureLayout::tr("from spherical XMP");
    case HPictureGeometry::Origin::PanoramaXmp:
        return HPictureLayout::tr("from XMP");
    case HPictureGeometry::Origin::Aspect:
        return HPictureLayout::tr("from the 2:1 frame");
    case HPictureGeometry::Origin::Band:
    case HPictureGeometry::Origin::None:
        break;
    }
    return HPictureLayout::tr("default");
}

QString stereoName(int mode)
{
    switch (mode) {
    case HPictureGeometry::OverUnder:
        return HPictureLayout::tr("Over-under");
    case HPictureGeometry::SideBySide:
        return HPictureLayout::tr("Side-by-side");
    default:
        return HPictureLayout::tr("Mono");
    }
}

QString joined(const QString& what, const QString& where)
{
    return what + QStringLiteral(" \u00b7 ") + where;
}

} // namespace

HPictureLayout::HPictureLayout(HSettingsManager* settingsStore, HGlobalObject* global, QObject* parent)
    : QObject(parent), settings(settingsStore), globalObject(global),
      pictureChoiceValue(stored(settingsStore, pictureKey, pictureChoices)),
      stereoChoiceValue(stored(settingsStore, stereoKey, stereoChoices)),
      stackedChoiceValue(stored(settingsStore, stackedKey, stackedChoices)),
      eyeValue(stored(settingsStore, eyeKey, eyes))
{
    resolve();
}

void HPictureLayout::setChoice(QString& field, const QString& value, const QStringList& allowed,
                               const char* key, void (HPictureLayout::*changed)())
{
    if (!allowed.contains(value)) {
        qCWarning(lcSession) << "Ignoring" << value << "for" << key << "- one of" << allowed;
        return;
    }
    if (value == field) {
        return;
    }
    field = value;
    settings->setValue(QLatin1String(key), value);
    emit(this->*changed)();
    resolve();
}

void HPictureLayout::setPictureChoice(const QString& value)
{
    setChoice(pictureChoiceValue, value, pictureChoices, pictureKey, &HPictureLayout::pictureChoiceChanged);
}

void HPictureLayout::setStereoChoice(const QString& value)
{
    setChoice(stereoChoiceValue, value, stereoChoices, stereoKey, &HPictureLayout::stereoChoiceChanged);
}

void HPictureLayout::setStackedChoice(const QString& value)
{
    setChoice(stackedChoiceValue, value, stackedChoices, stackedKey, &HPictureLayout::stackedChoiceChanged);
}

void HPictureLayout::setEye(const QString& value)
{
    setChoice(eyeValue, value, eyes, eyeKey, &HPictureLayout::eyeChanged);
}

void HPictureLayout::setViewAspect(qreal value)
{
    if (value > 0 && std::isfinite(value) && value != viewAspectValue) {
        viewAspectValue = value;
        emit viewAspectChanged();
    }
}

void HPictureLayout::nextPictureChoice()
{
    setPictureChoice(next(pictureChoiceValue, pictureChoices));
}

void HPictureLayout::nextStereoChoice()
{
    setStereoChoice(next(stereoChoiceValue, stereoChoices));
}

void HPictureLayout::nextStackedChoice()
{
    setStackedChoice(next(stackedChoiceValue, stackedChoices));
}

void HPictureLayout::openMedia(const QUrl& url)
{
    // Only local files are read: a stream's metadata would cost a download.
    metadata = url.isLocalFile() ? HPictureMetadata::read(url.toLocalFile()) : HPictureGeometry();
    qCInfo(lcSession) << "Picture metadata of" << url
                      << (metadata.isEmpty() ? "none" : metadata.coverageText());
    // The frame size stays until the new frame reports its own: a media of the same size sends none.
    resolve();
    if (metadata.hasInitialView) {
        globalObject->setYaw(metadata.initialYaw);
        globalObject->setPitch(-metadata.initialPitch); // the view centre sits at latitude -pitch
        if (metadata.initialHorizontalFov > 0) {
            // Our field of view spans the shorter side of the view.
            const double half = metadata.initialHorizontalFov * 0.5 * HPictureGeometry::radiansPerDegree;
            const double shorterPerLonger = viewAspectValue >= 1 ? 1.0 / viewAspectValue : 1.0;
            globalObject->setFov(float(2.0 * std::atan(std::tan(half) * shorterPerLonger) *
                                       HPictureGeometry::degreesPerRadian));
        }
    }
}

void HPictureLayout::setFrameSize(qreal width, qreal height)
{
    if (width == frameWidth && height == frameHeight) {
        return;
    }
    frameWidth = width;
    frameHeight = height;
    resolve();
}

void HPictureLayout::resolve()
{
    const HPictureGeometry aspect = HPictureGeometry::fromAspect(frameWidth, frameHeight);
    bool band = false;
    QString pictureWhere;
    if (pictureChoiceValue == QLatin1String("sphere")) {
        coverage = HPictureGeometry::fullSphere(HPictureGeometry::Origin::None);
        pictureWhere = tr("chosen");
    } else if (pictureChoiceValue == QLatin1String("band")) {
        coverage = HPictureGeometry::band();
        pictureWhere = tr("chosen");
        band = true;
    } else if (metadata.hasBounds) {
        coverage = metadata;
        pictureWhere = originText(metadata.origin);
    } else if (aspect.hasBounds) {
        coverage = aspect;
        pictureWhere = originText(aspect.origin);
    } else {
        coverage = HPictureGeometry::band();
        pictureWhere = originText(coverage.origin);
        band = true;
    }

    int stereo = HPictureGeometry::Mono;
    QString stereoWhere;
    if (stereoChoiceValue == QLatin1String("auto")) {
        const bool tagged = metadata.stereo != HPictureGeometry::Unknown;
        stereo = tagged ? metadata.stereo : int(HPictureGeometry::Mono);
        stereoWhere = tagged ? originText(metadata.origin) : tr("no stereo tag");
    } else {
        stereo = stereoChoices.indexOf(stereoChoiceValue) - 1;
        stereoWhere = tr("chosen");
    }

    // Frames between 1:1 and 2:1 are two halves of a band stacked one above the other; a picture
    // whose coverage is known holds one view.
    const double ratio = frameHeight > 0 ? frameWidth / frameHeight : 0;
    bool stack = false;
    QString stackedWhere;
    if (stackedChoiceValue == QLatin1String("auto")) {
        stack = band && ratio > 1 && ratio < 2;
        stackedWhere = stack ? tr("from the frame's shape") : tr("default");
    } else {
        stack = stackedChoiceValue == QLatin1String("on");
        stackedWhere = tr("chosen");
    }

    const QString picture = joined(coverage.coverageText(), pictureWhere);
    const QString stereoText = joined(stereoName(stereo), stereoWhere);
    const QString stacked = joined(stack ? tr("Stacked") : tr("Not stacked"), stackedWhere);
    globalObject->setPictureLimits(coverage.yawMin, coverage.yawMax, coverage.pitchMin, coverage.pitchMax);
    if (stereo != stereoModeValue || stack != stackedValue || picture != pictureTextValue ||
        stereoText != stereoTextValue || stacked != stackedTextValue) {
        stereoModeValue = stereo;
        stackedValue = stack;
        pictureTextValue = picture;
        stereoTextValue = stereoText;
        stackedTextValue = stacked;
        emit layoutChanged();
    }
}
