#pragma once

#include <QMatrix4x4>
#include <QSGMaterial>
#include <QString>

#include <atomic>

class QSGTexture;

// The view state the panorama is drawn with: copied from the global object at each
// synchronisation, so the picture and the view always belong to the same frame.
struct HPanoramaState
{
    QMatrix4x4 rotation;
    float yaw = 0;
    float pitch = 0;
    float fov = 60;
    float yawMin = 0;
    float yawMax = 0;
    float pitchMin = 0;
    float pitchMax = 0;
    bool rightEye = false; // of a stereo frame, the second picture rather than the first
    float pixelRatio = 1;  // device pixels per item unit
};

// One fragment shader text of the builder, with the material type the scene graph keeps its
// compiled program under. Programs are interned for the life of the process: the scene graph's
// shader cache is keyed by the type's address, which must therefore never be reused for another
// text.
class HPanoramaProgram
{
public:
    enum Status
    {
        Unknown,
        Compiles, // the fragment shader compiled alone; the renderer links it
        Linked,
        Failed
    };

    // The program for that text, made on first request; any thread.
    static HPanoramaProgram* forText(const QString& fragmentShader);

    QSGMaterialType* type() { return &materialType; }
    const QByteArray& fragmentShader() const { return fragment; }
    Status status() const { return Status(state.load()); }
    // The driver's message when the text did not compile or link.
    QString log() const;
    // Render thread, with a context current: compiles the fragment shader alone, once, so that a
    // text that cannot compile never reaches the scene graph's renderer.
    Status check();
    void setLinked(bool linked, const QString& message);

private:
    explicit HPanoramaProgram(const QString& fragmentShader);

    QSGMaterialType materialType;
    QByteArray fragment;
    std::atomic<int> state{Unknown};
    QString message;
};

// What the scene graph draws the panorama with: the program of one builder text, and the state,
// the frame texture and the item's size that the node hands over before each frame.
class HPanoramaMaterial : public QSGMaterial
{
public:
    explicit HPanoramaMaterial(HPanoramaProgram* program);

    QSGMaterialType* type() const override { return panoramaProgram->type(); }
    QSGMaterialShader* createShader() const override;
    int compare(const QSGMaterial* other) const override;

    HPanoramaProgram* program() const { return panoramaProgram; }

    HPanoramaState state;
    QSGTexture* texture = nullptr;
    QSizeF itemSize;

private:
    HPanoramaProgram* panoramaProgram;
};
