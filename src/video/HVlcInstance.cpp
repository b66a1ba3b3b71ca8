#include "HVlcInstance.h"

#include "HHardwareDecoder.h"

#include "VideoLogging.h"

#include <QMutex>

#include <vlc/vlc.h>

#include <atomic>
#include <vector>

namespace {

struct SharedVlc
{
    QMutex mutex;
    libvlc_instance_t* instance = nullptr;
    QStringList arguments;
    std::atomic<bool> hardwareDecoding{false};
};

SharedVlc& sharedVlc()
{
    static SharedVlc shared;
    return shared;
}

libvlc_instance_t* createInstance(const QStringList& arguments)
{
    std::vector<QByteArray> storage;
    std::vector<const char*> argv;
    for (const QString& argument : arguments) {
        storage.push_back(argument.toUtf8());
    }
    for (const QByteArray& bytes : storage) {
        argv.push_back(bytes.constData());
    }
    return libvlc_new(int(argv.size()), argv.data());
}

} // namespace

libvlc_instance_t* HVlcInstance::shared()
{
    SharedVlc& shared = sharedVlc();
    QMutexLocker locker(&shared.mutex);
    if (shared.instance) {
        return shared.instance;
    }
    bool hardware = shared.hardwareDecoding.load();
    QString why;
    if (hardware && !HHardwareDecoder::available(&why)) {
        qCWarning(lcVideo).noquote() << "No hardware video decoder on this machine (" + why +
                                            "); decoding in software";
        hardware = false;
    }
    QStringList instanceArguments = arguments(hardware);
    shared.instance = createInstance(instanceArguments);
    if (!shared.instance && hardware) {
        qCWarning(lcVideo) << "libvlc refused hardware decoding; decoding in software";
        instanceArguments = arguments(false);
        shared.instance = createInstance(instanceArguments);
    }
    if (!shared.instance) {
        qCCritical(lcVideo) << "libvlc could not be initialised with" << instanceArguments;
        return nullptr;
    }
    shared.arguments = instanceArguments;
    qCInfo(lcVideo).noquote() << "libvlc" << libvlc_get_version() << "started with"
                              << instanceArguments.join(QLatin1Char(' '));
    return shared.instance;
}

void HVlcInstance::setHardwareDecoding(bool enabled)
{
    sharedVlc().hardwareDecoding.store(enabled);
}

bool HVlcInstance::hardwareDecoding()
{
    return sharedVlc().hardwareDecoding.load();
}

QStringList HVlcInstance::arguments(bool hardwareDecoding)
{
    QStringList list{QStringLiteral("--verbose=2"), QStringLiteral("--quiet"), QStringLiteral("--intf"),
                     QStringLiteral("dummy"), QStringLiteral("--ignore-config")};
    // Tests and benchmarks hear what libvlc plays in a WAV file (spatial sound goes through our own
    // output, which writes the same file).
    const QString soundFile = qEnvironmentVariable("GYRE_AUDIO_FILE");
    if (!soundFile.isEmpty()) {
        list << QStringLiteral("--aout=afile") << QStringLiteral("--audiofile-file=") + soundFile
             << QStringLiteral("--audiofile-wav");
    }
    if (hardwareDecoding) {
#ifdef Q_OS_WIN
        list << QStringLiteral("--avcodec-hw=dxva2");
#else
        list << QStringLiteral("--avcodec-hw=vaapi");
#endif
    }
    return list;
}

QStringList HVlcInstance::sharedArguments()
{
    SharedVlc& shared = sharedVlc();
    QMutexLocker locker(&shared.mutex);
    return shared.arguments;
}

QString HVlcInstance::lastError()
{
    const char* message = libvlc_errmsg();
    return message ? QString::fromUtf8(message) : QString();
}
