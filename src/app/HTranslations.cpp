#include "HTranslations.h"

#include "AppLogging.h"
#include "base/HSettingsManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>

namespace {
const QString languageKey = QStringLiteral("application/language");
const QString catalogues = QStringLiteral(":/Translation");
const QString prefix = QStringLiteral("REzeva_");
} // namespace

HTranslations::HTranslations(HSettingsManager* settingsStore, QObject* parent)
    : QObject(parent), settings(settingsStore)
{
}

void HTranslations::install()
{
    const QString code = chosen();
    // The system's locale carries the user's list of languages (LANGUAGE, then LANG), which the
    // loader walks from the most wanted to the least; a stored code names one language.
    const QLocale locale = code.isEmpty() ? QLocale::system() : QLocale(code);
    if (ours.load(locale, QStringLiteral("REzeva"), QStringLiteral("_"), catalogues)) {
        QCoreApplication::installTranslator(&ours);
        activeLanguage = QFileInfo(ours.filePath()).baseName().mid(prefix.size());
    }
    // Qt's catalogue is a list of its modules' ones, which sit beside it in Qt's folder; the copy
    // among our resources serves where Qt's translations are not installed.
    if (qts.load(locale, QStringLiteral("qt"), QStringLiteral("_"),
                 QLibraryInfo::location(QLibraryInfo::TranslationsPath)) ||
        qts.load(locale, QStringLiteral("qt"), QStringLiteral("_"), catalogues)) {
        QCoreApplication::installTranslator(&qts);
    }
    qCInfo(lcApp).noquote() << "language:" << (code.isEmpty() ? QStringLiteral("system") : code) << "->"
                            << (activeLanguage.isEmpty() ? QStringLiteral("English originals")
                                                         : QStringLiteral("catalogue ") + activeLanguage)
                            << (qts.isEmpty() ? "without Qt's catalogue" : "with Qt's catalogue");
}

QVariantList HTranslations::languages() const
{
    QVariantList list{
        QVariantMap{{QStringLiteral("code"), QString()}, {QStringLiteral("name"), tr("System language")}}};
    const QStringList files =
        QDir(catalogues).entryList({prefix + QStringLiteral("*.qm")}, QDir::Files, QDir::Name);
    for (const QString& file : files) {
        const QString code = QFileInfo(file).baseName().mid(prefix.size());
        const QLocale locale(code);
        QString name = locale.nativeLanguageName();
        if (code.contains(QLatin1Char('_'))) {
            name += QStringLiteral(" (%1)").arg(locale.nativeCountryName());
        }
        if (!name.isEmpty()) {
            name[0] = name[0].toUpper();
        }
        list.append(QVariantMap{{QStringLiteral("code"), code}, {QStringLiteral("name"), name}});
    }
    return list;
}

QString HTranslations::chosen() const
{
    return settings->getString(languageKey, QString());
}

void HTranslations::choose(const QString& code)
{
    if (code == chosen()) {
        return;
    }
    settings->setValue(languageKey, code);
    emit chosenChanged();
    emit displayMessage(tr("The language changes when the program is started again."));
}
