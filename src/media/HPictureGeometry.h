#pragma once

#include <QString>

// What part of the sphere a frame covers and how it is laid out, as a file's metadata, its aspect
// or the default band describe it. Angles are radians; latitudes grow upwards, yaw to the right.
struct HPictureGeometry
{
    enum class Origin
    {
        None,           // nothing known
        SphericalBoxes, // st3d / sv3d boxes of an MP4 or MOV file
        SphericalXmp,   // the older spherical XMP box of a video
        PanoramaXmp,    // panorama XMP of a photo
        Aspect,         // a 2:1 frame is taken for a full sphere
        Band            // the viewer's default latitude band
    };
    // Same values as the shader builder's stereo modes; Unknown leaves the choice to others.
    enum Stereo
    {
        Unknown = -1,
        Mono = 0,
        OverUnder = 1,
        SideBySide = 2
    };

    // Metadata speaks in degrees.
    static constexpr double radiansPerDegree = 0.017453292519943295;
    static constexpr double degreesPerRadian = 57.29577951308232;

    Origin origin = Origin::None;
    bool hasBounds = false;
    float yawMin = 0;
    float yawMax = 0;
    float pitchMin = 0;
    float pitchMax = 0;
    int stereo = Unknown;
    bool hasInitialView = false;
    float initialYaw = 0;           // radians, positive to the right of the frame's centre
    float initialPitch = 0;         // radians, positive above the horizon
    float initialHorizontalFov = 0; // degrees; 0 when not given

    bool isEmpty() const { return !hasBounds && stereo == Unknown && !hasInitialView; }
    // The whole sphere, and the band from 15 degrees below to 45 degrees above the horizon that
    // 6:1 panoramas and stacked frames are made for.
    static HPictureGeometry fullSphere(Origin origin);
    static HPictureGeometry band();
    // The part of a full panorama that a cropped frame shows, in pixels of the full panorama;
    // empty when the numbers cannot describe a crop.
    static HPictureGeometry fromCrop(double fullWidth, double fullHeight, double cropWidth, double cropHeight,
                                     double left, double top, Origin origin);
    // The frame's aspect alone: a full sphere within 2 % of 2:1, nothing otherwise.
    static HPictureGeometry fromAspect(double width, double height);

    // "Full sphere", "Half sphere 180°", "Band 11.3°…−90°": what the user is told it covers.
    QString coverageText() const;
    bool operator==(const HPictureGeometry& other) const;
    bool operator!=(const HPictureGeometry& other) const { return !(*this == other); }
};
