#pragma once

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QWindow>

// The real player as a person meets it, on the test's X server with a window manager: started as a
// process of its own, its window found with xdotool, driven with keys and the mouse, and watched on
// screenshots of its window and in what it writes. The process is killed when the object goes.
// Set GYRE_VIEWER_SCREENSHOTS to a folder to keep the screenshots that shot() is asked to name.
class PlayerProcess
{
public:
    PlayerProcess() = default;
    PlayerProcess(const PlayerProcess&) = delete;
    PlayerProcess& operator=(const PlayerProcess&) = delete;
    ~PlayerProcess();

    // Starts the player and waits for its visible window (a minute at most: a loaded machine is slow), then
    // raises and focuses it.
    bool start(const QStringList& arguments,
               const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
    QProcess& process() { return player; }
    WId window() const { return windowId; }
    // Everything the player has written so far, both channels.
    QString output();
    QString title() const;

    void activate() const;
    // Presses the keys named in `keys`, separated by blanks, in the focused window.
    static void key(const QString& keys);
    // Pointer moves and clicks at window coordinates.
    void moveTo(int x, int y) const;
    void click(int x, int y, int button = 1) const;
    // Opens the control bar's menu and presses the entry that reads `label`; false if none does.
    bool menuEntry(const QString& label);

    QImage grab() const;
    // The window once it has stopped changing: two grabs a moment apart that are the same.
    QImage settled() const;
    // The window after it has changed from `before` and settled again (or as it is after 5 s).
    QImage changed(const QImage& before) const;
    // Whether the window comes to show `expected` (10 s at most): a busy machine may draw the steps
    // of several quick keys with pauses between them, which settled() takes for the end.
    bool becomes(const QImage& expected) const;
    // The window a good while after an action that must change nothing: longer than the
    // once-a-second repaint of a still picture.
    QImage later() const;
    // Settles and keeps a copy under `name` when screenshots are asked for.
    QImage shot(const char* name = nullptr) const;

    // The environment of a player whose private profile lives under `home` and holds `settings`.
    static QProcessEnvironment profile(const QString& home, const QVariantMap& settings);
    static QString xdotool(const QStringList& arguments);
    // Full screen and focus are the window manager's business.
    static bool startWindowManager(QProcess& windowManager);

private:
    QProcess player;
    WId windowId = 0;
    QString said;
};

// The window manager of a test's X server, for as long as the object lives.
class WindowManager
{
public:
    ~WindowManager()
    {
        process.terminate();
        process.waitForFinished(5000);
    }
    bool start() { return PlayerProcess::startWindowManager(process); }

private:
    QProcess process;
};
