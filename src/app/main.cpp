#include "app/Application.h"
#include "app/HCrashDumps.h"
#include "app/HCrashHandling.h"
#include "app/HMemoryTuning.h"
#include "base/HSettingsManager.h"
#include "base/ProductInfo.h"

#include <QDir>
#include <QLocale>

#include <memory>

namespace {
// The process-wide settings store exists before main() and until the process exits, so that
// start-up can read preferences before the application object exists.
HSettingsManager settingsStore(QSettings::UserScope, ProductInfo::organizationName(),
                               ProductInfo::settingsApplicationName());
} // namespace

int main(int argc, char** argv)
{
    HMemoryTuning::apply();
    auto app = std::make_unique<Application>(argc, argv, &settingsStore);
    QDir::setCurrent(QCoreApplication::applicationDirPath());

    auto locale =
        std::make_unique<QLocale>(settingsStore.getString(QStringLiteral("application/language"), QString()));
    const int dumpType = settingsStore.getInt(QStringLiteral("application/dump_type"), 0);
    const QString dumps = HCrashDumps::directory();
    HCrashDumps::prune(dumps);
    HCrashHandling::install(dumps, ProductInfo::displayName(), ProductInfo::versionText(), locale->name(),
                            QString(), dumpType);

    const int result = HCrashHandling::runGuarded([&app] {
        app->setup();
        const int exitCode = app->exec();
        app->tearDown();
        return exitCode;
    });

    locale.reset();
    app.reset();
    HCrashHandling::remove();
    return result;
}
