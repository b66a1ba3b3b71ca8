#include "app/Application.h"
#include "app/HSettingsManager.h"
#include "app/ProductInfo.h"

#include <QDir>

#include <memory>

namespace {
// The process-wide settings store exists before main() and until the process exits, so that
// start-up can read preferences before the application object exists.
HSettingsManager settingsStore(QSettings::UserScope, ProductInfo::organizationName(),
                               ProductInfo::settingsApplicationName());
} // namespace

int main(int argc, char** argv)
{
    Application app(argc, argv, &settingsStore);
    QDir::setCurrent(QCoreApplication::applicationDirPath());

    auto hardwareDecoding = std::make_unique<bool>(false);
    app.setup(hardwareDecoding.get());
    const int result = app.exec();
    app.tearDown();
    return result;
}
