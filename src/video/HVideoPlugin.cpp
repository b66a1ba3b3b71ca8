#include "HVideoPlugin.h"

#include "HVlcInstance.h"
#include "HuiQuickVideoPlayerVlc.h"
#include "VideoLogging.h"
#include "base/HSettingsManager.h"

#include <QCoreApplication>
#include <QOperatingSystemVersion>
#include <QQmlEngine>

#include <vlc/vlc.h>

namespace {
const QString pluginKey = QStringLiteral("application/videoPlugin");
const QString vlcPlugin = QStringLiteral("vlc");
const QString vlcHardwarePlugin = QStringLiteral("vlc_hw");

QString defaultPlugin()
{
#ifdef Q_OS_WIN
    if (QOperatingSystemVersion::current() >= QOperatingSystemVersion::Windows8) {
        return QStringLiteral("wmf");
    }
#endif
    return vlcPlugin;
}
} // namespace

HVideoPlugin::HVideoPlugin(HSettingsManager* settingsStore) : settings(settingsStore)
{
    qmlRegisterType<HuiQuickVideoPlayerVlc>("VLCQt", 1, 0, "VlcVideoPlayer");

    currentPlugin = settings->getString(pluginKey, defaultPlugin());

    const char* version = libvlc_get_version();
    plugins << QVariant(QStringList{
        vlcPlugin, QStringLiteral("VLC"),
        QStringLiteral("%1 '%2'").arg(tr("With VLC backend you should play any video, current version is "),
                                      version ? QString::fromUtf8(version) : QString())});
#ifdef Q_OS_WIN
    plugins << QVariant(QStringList{
        vlcHardwarePlugin, QStringLiteral("VLC with DXVA 2"),
        QStringLiteral("%1").arg(
            tr("Use VLC backend with hardware decoding DXVA 2. It's not guaranteed to work everywhere."))});
#else
    plugins << QVariant(QStringList{vlcHardwarePlugin, QStringLiteral("VLC with hardware decoding"),
                                    tr("Use VLC backend with hardware decoding through VA-API. It's not "
                                       "guaranteed to work everywhere.")});
#endif

    // The first video item makes the libvlc instance, after this point.
    HVlcInstance::setHardwareDecoding(hardwareDecoding());

#ifdef Q_OS_WIN
    plugins << QVariant(QStringList{QStringLiteral("wmf"), QStringLiteral("Windows Media Foundation"),
                                    tr("This is the Windows native backend.")});
    plugins << QVariant(QStringList{QStringLiteral("ds"), QStringLiteral("DirectShow"),
                                    tr("Use DirectShow filters, try to use this plugin when video failed to "
                                       "start with others plugins.")});
#else
    plugins << QVariant(QStringList{QStringLiteral("gst"), QStringLiteral("Qt Multimedia"),
                                    tr("Use the system's GStreamer framework through Qt Multimedia.")});
#endif

    // The Windows back ends' media service plugins live beside the program.
    if (currentPlugin == QLatin1String("wmf") || currentPlugin == QLatin1String("ds")) {
        QCoreApplication::addLibraryPath(QStringLiteral("%1/QtPlugins/mediaservice/%2")
                                             .arg(QCoreApplication::applicationDirPath(), currentPlugin));
    }
    qCInfo(lcVideo).noquote() << "video back end:" << currentPlugin;
}

void HVideoPlugin::setCurrentPlugin(const QString& plugin)
{
    if (plugin != currentPlugin) {
        currentPlugin = plugin;
        settings->setValue(pluginKey, currentPlugin);
        emit currentPluginChanged();
        emit displayMessage(tr("You must restart to apply modifications on video plugin."));
    }
    // Too late for this run's libvlc instance unless no video item was made yet.
    HVlcInstance::setHardwareDecoding(hardwareDecoding());
}

bool HVideoPlugin::hardwareDecoding() const
{
    return currentPlugin == vlcHardwarePlugin;
}
