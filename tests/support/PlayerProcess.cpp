#include "PlayerProcess.h"

#include "base/ProductInfo.h"

#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QTest>

#include <climits>
#include <cstdlib>

PlayerProcess::~PlayerProcess()
{
    if (player.state() != QProcess::NotRunning) {
        player.kill();
        player.waitForFinished(10000);
    }
}

QString PlayerProcess::xdotool(const QStringList& arguments)
{
    QProcess xdotool;
    xdotool.start("xdotool", arguments);
    xdotool.waitForFinished(15000);
    return QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
}

QProcessEnvironment PlayerProcess::profile(const QString& home, const QVariantMap& settings)
{
    const QString config = QDir(home).filePath("config");
    QSettings store(QStringLiteral("%1/%2/%3.conf")
                        .arg(config, ProductInfo::organizationName(), ProductInfo::settingsApplicationName()),
                    QSettings::IniFormat);
    for (auto setting = settings.begin(); setting != settings.end(); ++setting) {
        store.setValue(setting.key(), setting.value());
    }
    store.sync();
    // Nothing shared with another player on this machine but the home (and its sound settings).
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", config);
    environment.insert("XDG_CACHE_HOME", QDir(home).filePath("cache"));
    environment.insert("XDG_DATA_HOME", QDir(home).filePath("data"));
    return environment;
}

bool PlayerProcess::startWindowManager(QProcess& windowManager)
{
    windowManager.start("openbox", {"--sm-disable"});
    if (!windowManager.waitForStarted(10000)) {
        return false;
    }
    QTest::qWait(500);
    return true;
}

bool PlayerProcess::start(const QStringList& arguments, const QProcessEnvironment& environment)
{
    player.setProcessChannelMode(QProcess::MergedChannels);
    player.setProcessEnvironment(environment);
    player.start(GYRE_PLAYER_EXECUTABLE, arguments);
    if (!player.waitForStarted(10000)) {
        return false;
    }
    // Several players may run at once: only this process's window counts.
    const QString pid = QString::number(player.processId());
    (void)QTest::qWaitFor(
        [&] {
            windowId = xdotool({"search", "--all", "--onlyvisible", "--pid", pid, "--name", "^Gyre Player"})
                           .split('\n')
                           .value(0)
                           .toULongLong();
            return windowId != 0 || player.state() != QProcess::Running;
        },
        60000);
    if (windowId == 0) {
        return false;
    }
    activate();
    return true;
}

QString PlayerProcess::output()
{
    said += QString::fromLocal8Bit(player.readAll());
    return said;
}

QString PlayerProcess::title() const
{
    return xdotool({"getwindowname", QString::number(windowId)});
}

void PlayerProcess::activate() const
{
    xdotool({"windowactivate", "--sync", QString::number(windowId)});
}

void PlayerProcess::key(const QString& keys)
{
    xdotool(QStringList{"key", "--delay", "40"} + keys.split(' ', Qt::SkipEmptyParts));
}

void PlayerProcess::moveTo(int x, int y) const
{
    xdotool({"mousemove", "--window", QString::number(windowId), QString::number(x), QString::number(y)});
}

void PlayerProcess::click(int x, int y, int button) const
{
    moveTo(x, y);
    xdotool({"click", QString::number(button)});
}

bool PlayerProcess::menuEntry(const QString& label)
{
    // The bar comes up on a pointer move (not while a popup is up) and stays while the pointer is
    // over it; its last item is the menu button, whose white label tells that the bar is there.
    const QSize size = grab().size();
    const QRect menuButton(size.width() - 70, size.height() - 35, 60, 30);
    const auto barUp = [&] {
        const QImage image = grab();
        for (int y = menuButton.top(); y <= menuButton.bottom(); ++y) {
            for (int x = menuButton.left(); x <= menuButton.right(); ++x) {
                if (qGray(image.pixel(x, y)) > 200) {
                    return true;
                }
            }
        }
        return false;
    };
    for (int attempt = 0; attempt < 60 && !barUp(); ++attempt) {
        moveTo(size.width() - 40 - attempt % 2, size.height() - 25);
        QTest::qWait(300);
    }
    const QImage shown = settled();
    click(size.width() - 40, size.height() - 20);
    QImage menu = changed(shown);
    // A busy machine can pause mid-slide long enough to look still; the menu is in once no entry
    // runs off the window's right edge.
    const auto runsOff = [&] {
        for (int y = 0; y < size.height() - 40; ++y) {
            if (qGray(menu.pixel(size.width() - 2, y)) > 200) {
                return true;
            }
        }
        return false;
    };
    for (int attempt = 0; attempt < 20 && runsOff(); ++attempt) {
        menu = settled();
    }

    // Entries are white bold 14-pixel lines, right-aligned on a dark panel 310 pixels wide (its
    // title is grey): find each line's ink and take the one as wide as `label`.
    QFont font;
    font.setPixelSize(14);
    font.setBold(true);
    const int wanted = QFontMetrics(font).tightBoundingRect(label).width();
    const auto white = [&](int x, int y) {
        const QRgb c = menu.pixel(x, y);
        return qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) > 200;
    };
    int bestError = INT_MAX;
    QPoint best;
    int top = -1;
    int left = INT_MAX;
    int right = -1;
    const int bar = size.height() - 40;
    for (int y = 0; y <= bar; ++y) {
        bool ink = false;
        for (int x = size.width() - 310; y < bar && x < size.width(); ++x) {
            if (white(x, y)) {
                ink = true;
                left = qMin(left, x);
                right = qMax(right, x);
            }
        }
        if (ink && top < 0) {
            top = y;
        } else if (!ink && top >= 0) {
            const int error = std::abs(right - left + 1 - wanted);
            if (error < bestError) {
                bestError = error;
                best = QPoint((left + right) / 2, (top + y) / 2);
            }
            top = -1;
            left = INT_MAX;
            right = -1;
        }
    }
    if (bestError > 6) {
        return false;
    }
    click(best.x(), best.y());
    return true;
}

QImage PlayerProcess::grab() const
{
    return QGuiApplication::primaryScreen()->grabWindow(windowId).toImage().convertToFormat(
        QImage::Format_RGB32);
}

QImage PlayerProcess::settled() const
{
    QImage previous = grab();
    for (int attempt = 0; attempt < 60; ++attempt) {
        QTest::qWait(250);
        QImage current = grab();
        if (current == previous) {
            return current;
        }
        previous = current;
    }
    return previous;
}

QImage PlayerProcess::changed(const QImage& before) const
{
    (void)QTest::qWaitFor([&] { return grab() != before; }, 5000);
    return settled();
}

bool PlayerProcess::becomes(const QImage& expected) const
{
    return QTest::qWaitFor([&] { return grab() == expected; }, 10000);
}

QImage PlayerProcess::later() const
{
    QTest::qWait(1300);
    return settled();
}

QImage PlayerProcess::shot(const char* name) const
{
    const QImage image = settled();
    const QString folder = qEnvironmentVariable("GYRE_VIEWER_SCREENSHOTS");
    if (name && !folder.isEmpty()) {
        QDir().mkpath(folder);
        image.save(QDir(folder).filePath(QString("%1.png").arg(name)));
    }
    return image;
}
