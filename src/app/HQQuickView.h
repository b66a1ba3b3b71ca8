#pragma once

#include "net/HUpdateManager.h"
#include "render/HLiveTextures.h"

#include <QQuickView>
#include <QSize>
#include <QUrl>

#include <atomic>

// The program's only top-level window. Besides hosting the scene it follows the full-screen state,
// counts frames per second, learns once how large a texture the GPU takes and writes the title for
// the media being shown.
class HSettingsManager;

class HQQuickView : public QQuickView
{
    Q_OBJECT
    Q_PROPERTY(bool fullScreen READ fullScreen NOTIFY fullScreenChanged)
    Q_PROPERTY(QSize maxTextureSize READ maxTextureSize NOTIFY maxTextureSizeChanged)
    Q_PROPERTY(bool demoMode READ demoMode NOTIFY demoModeChanged)
    Q_PROPERTY(int fps READ fps NOTIFY fpsChanged)
    // After a crash, at the next start: what the note says; empty once dismissed or without a crash.
    Q_PROPERTY(QString crashNote READ crashNote NOTIFY crashNoteChanged)

public:
    // The update server is the build's default unless GYRE_UPDATE_SERVER names another.
    HQQuickView(bool demo, HSettingsManager* settings);

    static QString updateServerBase();
    HUpdateManager* updateManager() { return &updateChecker; }

    bool fullScreen() const { return fullScreenState; }
    QSize maxTextureSize() const;
    bool demoMode() const { return demoFlag; }
    int fps() const { return framesPerSecond.load(); }

    Q_INVOKABLE void fullScreenMode(bool enabled);
    Q_INVOKABLE bool isNewVersionAvailable() const { return newVersionAvailable; }
    Q_INVOKABLE void checkUpdate();
    QString crashNote() const { return crashNoteText; }
    Q_INVOKABLE void dismissCrashNote();
    // The folder that holds the crash's report, in the desktop's file manager.
    Q_INVOKABLE void openCrashFolder() const;
    Q_INVOKABLE QString title() const;
    // The media's name, never its whole address.
    Q_INVOKABLE void updateTitle(const QUrl& newSource);
    Q_INVOKABLE QString newVersion() const;
    Q_INVOKABLE QString newVersionDate() const;
    Q_INVOKABLE QString newChangeLog() const;
    Q_INVOKABLE QString urlDownload() const;
    Q_INVOKABLE QString urlHistory() const;
    Q_INVOKABLE QString halvaneTeam() const;
    Q_INVOKABLE QString copyright() const;
    Q_INVOKABLE QString copyrightDates() const;

signals:
    void signalNativeEvent(const QByteArray& eventType, void* message, long* result);
    void fullScreenChanged();
    void maxTextureSizeChanged();
    void crashNoteChanged();
    void demoModeChanged();
    void displayPopup(const QString& qmlFile);
    void displayMessage(const QString& message);
    void mouseMoved();
    void fpsChanged();

protected slots:
    void OnNewVersionAvailable();
    void OnAlreadyLatestVersion();
    // Writes a crash dump of the running program and hands it to the crash reporter; the program
    // goes on. Nothing connects it: a debugging aid.
    void OnMiniDump();
    void onWindowStateChanged(Qt::WindowState windowsState);
    // Both run on the scene graph's render thread.
    void computeMaxTextureSize();
    void computeFps();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, long* result) override;

private:
    void findCrash(HSettingsManager* settings);

    HUpdateManager updateChecker;
    QString crashNoteText;
    QString crashFolder;
    bool fullScreenState;
    // Written on the render thread, read on the GUI thread.
    std::atomic<int> maxTextureHalfSize{0};
    const bool demoFlag;
    std::atomic<int> framesPerSecond{0};
    std::atomic<bool> shownLogged{false};
    int frameCounter = 0;
    qint64 lastSecond = 0;
    // Render thread only.
    HLiveTextures liveTextures;
    bool newVersionAvailable = false;
};
