// Installs crash handling as the player's start-up does, then fails in the way its argument names:
// "segv" writes through a null pointer, "runtime_error" and "int" let an exception escape, "request"
// asks the main window for a dump, reports "dumped" and crashes once a line arrives on stdin.
#include "app/HCrashHandling.h"
#include "app/HQQuickView.h"
#include "base/HSettingsManager.h"
#include "base/ProductInfo.h"

#include <QApplication>
#include <QDir>
#include <QLocale>

#include <cstdio>
#include <stdexcept>

namespace {
void writeThroughNull()
{
    volatile int* volatile target = nullptr;
    *target = 42;
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    const QString mode = QCoreApplication::arguments().value(1);

    const QLocale locale(QStringLiteral("de_DE"));
    HCrashHandling::install(QDir::tempPath(), ProductInfo::displayName(), ProductInfo::versionText(),
                            locale.name(), QString(), 0);
    const int result = HCrashHandling::runGuarded([&mode] {
        if (mode == QLatin1String("segv")) {
            writeThroughNull();
        } else if (mode == QLatin1String("runtime_error")) {
            throw std::runtime_error("boom");
        } else if (mode == QLatin1String("int")) {
            throw 7;
        } else if (mode == QLatin1String("request")) {
            HSettingsManager settings(QSettings::UserScope, ProductInfo::organizationName(),
                                      ProductInfo::settingsApplicationName());
            HQQuickView window(false, &settings);
            QMetaObject::invokeMethod(&window, "OnMiniDump");
            std::puts("dumped");
            std::fflush(stdout);
            char line[16];
            if (std::fgets(line, sizeof(line), stdin)) {
                writeThroughNull();
            }
        }
        return 3;
    });
    HCrashHandling::remove();
    return result;
}
