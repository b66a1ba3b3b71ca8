#include "FrameProducer.h"
#include "render/SharedMemoryLayout.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QRegularExpression>

#include <csignal>
#include <cstdio>

// gyre-frame-producer: writes frames for the player's shared-memory mode. See the README.

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int)
{
    stopRequested = 1;
}

QSize parseSize(const QString& text)
{
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)$")).match(text);
    if (!match.hasMatch()) {
        return QSize();
    }
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    return size.width() > 0 && size.height() > 0 && size.width() <= 0xffff && size.height() <= 0xffff
               ? size
               : QSize();
}

} // namespace

int main(int argc, char** argv)
{
    // Text is drawn into images only; no window, no display needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes frames into the shared-memory segment that Gyre Player shows when its setting "
                       "\"application/sharedmemory\" is true: a moving test pattern, or raw RGB frames from "
                       "standard input."));
    parser.addHelpOption();
    const QCommandLineOption name(QStringLiteral("name"), QStringLiteral("Segment name."),
                                  QStringLiteral("name"),
                                  QString::fromLatin1(SharedMemoryLayout::segmentName));
    const QCommandLineOption size(QStringLiteral("size"), QStringLiteral("Frame size."),
                                  QStringLiteral("WxH"), QStringLiteral("2880x480"));
    const QCommandLineOption rate(QStringLiteral("rate"), QStringLiteral("Frames per second."),
                                  QStringLiteral("fps"), QStringLiteral("30"));
    const QCommandLineOption slotsOption(QStringLiteral("slots"), QStringLiteral("Slots in the ring."),
                                         QStringLiteral("n"), QStringLiteral("3"));
    const QCommandLineOption count(QStringLiteral("count"),
                                   QStringLiteral("Stop writing after n frames (the segment stays until the "
                                                  "producer is ended)."),
                                   QStringLiteral("n"));
    const QCommandLineOption padding(QStringLiteral("line-padding"),
                                     QStringLiteral("Bytes of padding after each line's pixels."),
                                     QStringLiteral("bytes"), QStringLiteral("0"));
    const QCommandLineOption resize(QStringLiteral("resize-at"),
                                    QStringLiteral("From frame n on, write frames of another size."),
                                    QStringLiteral("n:WxH"));
    const QCommandLineOption input(
        QStringLiteral("stdin"),
        QStringLiteral("Read frames from standard input: raw RGB, W*H*3 bytes each, as "
                       "\"ffmpeg -f rawvideo -pix_fmt rgb24 -\" writes them."));
    const QCommandLineOption version(QStringLiteral("version-text"),
                                     QStringLiteral("The header's version text (to try a viewer's check)."),
                                     QStringLiteral("text"),
                                     QString::fromLatin1(SharedMemoryLayout::versionText));
    const QCommandLineOption verbose(QStringLiteral("verbose"),
                                     QStringLiteral("A line for every frame written."));
    parser.addOptions({name, size, rate, slotsOption, count, padding, resize, input, version, verbose});
    parser.process(app);

    FrameProducer::Options options;
    options.name = parser.value(name);
    options.size = parseSize(parser.value(size));
    options.rate = parser.value(rate).toDouble();
    options.slotCount = parser.value(slotsOption).toInt();
    options.count = parser.isSet(count) ? parser.value(count).toLongLong() : -1;
    options.linePadding = parser.value(padding).toInt();
    options.versionText = parser.value(version).toLatin1();
    options.input = parser.isSet(input) ? stdin : nullptr;
    options.verbose = parser.isSet(verbose);
    if (parser.isSet(resize)) {
        const QStringList parts = parser.value(resize).split(QLatin1Char(':'));
        options.resizeAt = parts.size() == 2 ? parts[0].toLongLong() : -1;
        options.resizedSize = parts.size() == 2 ? parseSize(parts[1]) : QSize();
        if (options.resizeAt < 0 || !options.resizedSize.isValid()) {
            err << "frame-producer: --resize-at wants n:WxH" << Qt::endl;
            return 2;
        }
    }
    if (!options.size.isValid() || !(options.rate > 0) || options.slotCount < 1 ||
        options.slotCount > 0xffff || options.linePadding < 0 ||
        options.versionText.size() >= SharedMemoryLayout::versionCapacity) {
        err << "frame-producer: invalid option; see --help" << Qt::endl;
        return 2;
    }

    // Without SA_RESTART, so that a read of standard input ends too.
    struct sigaction action = {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    FrameProducer producer(options, out);
    QString error;
    if (!producer.createSegment(&error)) {
        err << "frame-producer: cannot create " << options.name << ": " << error << Qt::endl;
        return 1;
    }
    return producer.run(stopRequested);
}
