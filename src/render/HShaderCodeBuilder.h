#pragma once

#include <QObject>
#include <QString>

// The viewer's rendering choices (projection, colour effect, stereo layout, stacked frame) and the
// fragment shader that draws them: the view item asks for a new text whenever a choice changes.
class HShaderCodeBuilder : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool oculusMode READ oculusMode WRITE setOculusMode NOTIFY oculusModeChanged)
    Q_PROPERTY(int effect READ effect WRITE setEffect NOTIFY effectChanged)
    Q_PROPERTY(int projection READ projection WRITE setProjection NOTIFY projectionChanged)
    Q_PROPERTY(int stereoMode READ stereoMode WRITE setStereoMode NOTIFY stereoModeChanged)
    Q_PROPERTY(bool stacked READ stacked WRITE setStacked NOTIFY stackedChanged)

public:
    enum ShaderProjection
    {
        NO_PROJECTION = 0,
        RECTILINEAR = 1,
        LAST_VALUE_PROJECTION = 2, // end of the cycle of setNextProjection; draws nothing
        LITTLE_PLANET = 3,
        MIRROR_BALL = 4,
        FISHEYE = 5,
        // The fisheye of a dome projector: zenith at the centre, the aperture filling the shorter
        // side, black beyond; the view item hands it the aperture as the field of view and the
        // turn to the zenith in the matrix.
        DOME = 6
    };
    Q_ENUM(ShaderProjection)

    enum ShaderEffect
    {
        NO_EFFECT = 0,
        SEPIA = 1,
        BLACK_AND_WHITE = 2,
        TV = 3,
        INVERT = 4,
        RED_ONLY = 5,
        YELLOW_ONLY = 6,
        BLUE_ONLY = 7,
        LAST_VALUE_EFFECT = 8
    };
    Q_ENUM(ShaderEffect)

    enum StereoMode
    {
        STEREO_2D = 0,
        STEREO_3D_OVERUNDER = 1,
        STEREO_3D_SIDEBYSIDE = 2
    };
    Q_ENUM(StereoMode)

    // How the frame reaches the shader: one RGB texture, or three single-channel textures (Y, U, V)
    // with the matrix that turns them into RGB; a tiled photo, sampled through its page table; or the
    // tiled photo's request pass, which writes each pixel's tile instead of its colour.
    enum FrameInput
    {
        RGB_INPUT = 0,
        YUV_INPUT = 1,
        TILED_INPUT = 2,
        TILE_REQUEST_INPUT = 3
    };
    Q_ENUM(FrameInput)

    explicit HShaderCodeBuilder(QObject* parent = nullptr);

    bool oculusMode() const { return oculusModeValue; }
    int effect() const { return effectValue; }
    int projection() const { return projectionValue; }
    int stereoMode() const { return stereoModeValue; }
    bool stacked() const { return stackedValue; }

    // Any integer is accepted; values outside the enumerations give a text without that piece.
    void setOculusMode(bool value);
    void setEffect(int value);
    void setProjection(int value);
    void setStereoMode(int value);
    void setStacked(bool value);

    // The complete fragment shader for the current choices, assembled anew on every call.
    // The argument, not the property of the same name, selects the two-eye screen helpers; `input`
    // only changes how the frame is sampled.
    Q_INVOKABLE QString build(bool oculusMode, int input = RGB_INPUT) const;
    Q_INVOKABLE void setNextEffect();
    Q_INVOKABLE void setNextProjection();

signals:
    void oculusModeChanged();
    void effectChanged();
    void projectionChanged();
    void stereoModeChanged();
    void stackedChanged();

private:
    bool oculusModeValue = false;
    int effectValue = NO_EFFECT;
    int projectionValue = NO_PROJECTION;
    int stereoModeValue = STEREO_2D;
    bool stackedValue = false;
};
