#include "HTranslations.h"

#include "AppLogging.h"
#include "base/HSettingsManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>

namespace {
const QString languageKey = QStringLiteral("application/language");
const QString catalogues = QStringLiteral(":/Translation");
const QString prefix = QStringLiteral("REzeva_");

// The writing system a language's own name needs, where a Latin font may lack it.
QFontDatabase::WritingSystem writingSystemOf(const QLocale& locale)
{
    switch (locale.script()) {
    case QLocale::SimplifiedHanScript:
        return QFontDatabase::SimplifiedChinese;
    case QLocale::TraditionalHanScript:
        return QFontDatabase::TraditionalChinese;
    case QLocale::JapaneseScript:
        return QFontDatabase::Japanese;
    case QLocale::KoreanScript:
        return QFontDatabase::Korean;
    case QLocale::CyrillicScript:
        return QFontDatabase::Cyrillic;
    case QLocale::GreekScript:
        return QFontDatabase::Greek;
    case QLocale::ArabicScript:
        return QFontDatabase::Arabic;
    case QLocale::HebrewScript:
        return QFontDatabase::Hebrew;
    default:
        return QFontDatabase::Any;
    }
}

// A language by its own name where a font of its script is installed, else by its English name,
// which every font shows, rather than as a row of boxes.
QString languageName(const QLocale& locale, bool regional)
{
    const QFontDatabase::WritingSystem system = writingSystemOf(locale);
    const bool shown = system == QFontDatabase::Any || !QFontDatabase().families(system).isEmpty();
    QString name = shown ? locale.nativeLanguageName() : QLocale::languageToString(locale.language());
    if (regional) {
        name += QStringLiteral(" (%1)").arg(shown ? locale.nativeCountryName()
                                                  : QLocale::countryToString(locale.country()));
    }
    if (!name.isEmpty()) {
        name[0] = name[0].toUpper();
    }
    return name;
}
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
        const QString name = languageName(QLocale(code), code.contains(QLatin1Char('_')));
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
