#pragma once

#include <QMatrix4x4>
#include <QObject>
#include <QSizeF>

class HSettingsManager;

// Where this player's screen stands in a room of screens ("hScreenPlace"): turned from the view it
// follows (its own input's or a synchronisation master's) by a yaw, pitch and roll offset, with a
// horizontal field of view of its own, and the aperture and tilt of a dome it feeds. The global
// object's view stays the followed one (a master sends it, the sensor writes it back); only the
// drawing applies the place. Degrees, in the view's own senses (yaw to the right, pitch down);
// kept in settings and applied at once.
class HScreenPlace : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double yawOffset READ yawOffset WRITE setYawOffset NOTIFY changed)
    Q_PROPERTY(double pitchOffset READ pitchOffset WRITE setPitchOffset NOTIFY changed)
    Q_PROPERTY(double rollOffset READ rollOffset WRITE setRollOffset NOTIFY changed)
    // Across the screen's width; 0 leaves the view's own field of view.
    Q_PROPERTY(double fov READ fov WRITE setFov NOTIFY changed)
    // The angle the dome's circle spans, and how far its centre leans from the zenith to the front.
    Q_PROPERTY(double domeAperture READ domeAperture WRITE setDomeAperture NOTIFY changed)
    Q_PROPERTY(double domeTilt READ domeTilt WRITE setDomeTilt NOTIFY changed)

public:
    explicit HScreenPlace(HSettingsManager* settings, QObject* parent = nullptr);

    double yawOffset() const { return yawOffsetValue; }
    double pitchOffset() const { return pitchOffsetValue; }
    double rollOffset() const { return rollOffsetValue; }
    double fov() const { return fovValue; }
    double domeAperture() const { return domeApertureValue; }
    double domeTilt() const { return domeTiltValue; }

    // Out-of-range values are brought into range: offsets wrap (pitch stops at ±90), a field of
    // view of 0 or less (or not a number) is none, at most 360; the aperture 1..360, the tilt ±90.
    void setYawOffset(double value);
    void setPitchOffset(double value);
    void setRollOffset(double value);
    void setFov(double value);
    void setDomeAperture(double value);
    void setDomeTilt(double value);

    // The matrix the screen draws with: the followed one turned by the offsets in the view's own
    // frame, so that a rig of screens turns as one; for a dome, also turned from looking ahead to
    // looking at its centre, with the front at the bottom of the circle.
    QMatrix4x4 screenMatrix(const QMatrix4x4& followed, bool dome = false) const;
    // The field of view (degrees) the projection spans across the shorter side of `size`: the
    // screen's own across its width if it has one, else `followed`, which already is.
    // `perspective`: a rectilinear lens, whose tangent, not angle, grows with the distance.
    float shorterSideFov(float followed, QSizeF size, bool perspective) const;

signals:
    void changed();

private:
    void store(double& member, double value, const char* key);

    HSettingsManager* const settings;
    double yawOffsetValue = 0;
    double pitchOffsetValue = 0;
    double rollOffsetValue = 0;
    double fovValue = 0;
    double domeApertureValue = 180;
    double domeTiltValue = 0;
};
