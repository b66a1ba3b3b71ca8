#pragma once

#include "media/HPictureGeometry.h"

#include <QObject>
#include <QString>
#include <QUrl>

class HGlobalObject;
class HSettingsManager;

// What the current picture covers and how its frame is laid out, as QML sees it ("hPicture"):
// the file's own metadata first, else the frame's aspect, else the default band, unless the user
// has chosen otherwise. The user's choices are kept in settings and hold until changed; the
// result goes to the global object's limits, and QML binds the shader builder's stereo mode and
// stacked layout to stereoMode and stacked.
class HPictureLayout : public QObject
{
    Q_OBJECT
    // "auto", "sphere" or "band".
    Q_PROPERTY(QString pictureChoice READ pictureChoice WRITE setPictureChoice NOTIFY pictureChoiceChanged)
    // "auto", "mono", "overunder" or "sidebyside".
    Q_PROPERTY(QString stereoChoice READ stereoChoice WRITE setStereoChoice NOTIFY stereoChoiceChanged)
    // "auto", "on" or "off".
    Q_PROPERTY(QString stackedChoice READ stackedChoice WRITE setStackedChoice NOTIFY stackedChoiceChanged)
    // The eye a flat screen shows of a stereo frame: "left" (or top) or "right" (or bottom).
    Q_PROPERTY(QString eye READ eye WRITE setEye NOTIFY eyeChanged)
    // Width over height of the view, for turning a metadata's horizontal field of view into ours.
    Q_PROPERTY(qreal viewAspect READ viewAspect WRITE setViewAspect NOTIFY viewAspectChanged)

    Q_PROPERTY(int stereoMode READ stereoMode NOTIFY layoutChanged)
    Q_PROPERTY(bool stacked READ stacked NOTIFY layoutChanged)
    Q_PROPERTY(bool rightEye READ rightEye NOTIFY eyeChanged)
    // What was found and where from, for the view panel: "Full sphere · from metadata".
    Q_PROPERTY(QString pictureText READ pictureText NOTIFY layoutChanged)
    Q_PROPERTY(QString stereoText READ stereoText NOTIFY layoutChanged)
    Q_PROPERTY(QString stackedText READ stackedText NOTIFY layoutChanged)

public:
    HPictureLayout(HSettingsManager* settings, HGlobalObject* globalObject, QObject* parent = nullptr);

    QString pictureChoice() const { return pictureChoiceValue; }
    QString stereoChoice() const { return stereoChoiceValue; }
    QString stackedChoice() const { return stackedChoiceValue; }
    QString eye() const { return eyeValue; }
    qreal viewAspect() const { return viewAspectValue; }
    void setPictureChoice(const QString& value);
    void setStereoChoice(const QString& value);
    void setStackedChoice(const QString& value);
    void setEye(const QString& value);
    void setViewAspect(qreal value);

    int stereoMode() const { return stereoModeValue; }
    bool stacked() const { return stackedValue; }
    bool rightEye() const { return eyeValue == QLatin1String("right"); }
    QString pictureText() const { return pictureTextValue; }
    QString stereoText() const { return stereoTextValue; }
    QString stackedText() const { return stackedTextValue; }
    // The coverage in force, whatever decided it.
    HPictureGeometry geometry() const { return coverage; }

    // A new media: its metadata is read (local files only) and its initial view applied.
    Q_INVOKABLE void openMedia(const QUrl& url);
    // The size of the frame being shown, as soon as it is known.
    Q_INVOKABLE void setFrameSize(qreal width, qreal height);
    // Steps a choice to its next value, for the keyboard.
    Q_INVOKABLE void nextPictureChoice();
    Q_INVOKABLE void nextStereoChoice();
    Q_INVOKABLE void nextStackedChoice();

signals:
    void pictureChoiceChanged();
    void stereoChoiceChanged();
    void stackedChoiceChanged();
    void eyeChanged();
    void viewAspectChanged();
    void layoutChanged();

private:
    void setChoice(QString& field, const QString& value, const QStringList& allowed, const char* key,
                   void (HPictureLayout::*changed)());
    void resolve();

    HSettingsManager* const settings;
    HGlobalObject* const globalObject;
    QString pictureChoiceValue;
    QString stereoChoiceValue;
    QString stackedChoiceValue;
    QString eyeValue;
    qreal viewAspectValue = 16.0 / 9.0;

    HPictureGeometry metadata;
    qreal frameWidth = 0;
    qreal frameHeight = 0;
    HPictureGeometry coverage;
    int stereoModeValue = 0;
    bool stackedValue = false;
    QString pictureTextValue;
    QString stereoTextValue;
    QString stackedTextValue;
};
