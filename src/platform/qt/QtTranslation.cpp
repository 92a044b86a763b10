#include "platform/qt/QtTranslation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include "platform/desktop/Translation.h"

namespace tomefuse {

namespace {

std::string translateWithQt(const char* context, const char* text, const char* disambiguation, int n) {
    return QCoreApplication::translate(context, text, disambiguation, n).toStdString();
}

// Owned by the application, which removes and deletes them when it ends.
void load(const QLocale& locale, const QString& name, const QStringList& folders) {
    for (const QString& folder : folders) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(locale, name, QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            return;
        }
        delete translator;
    }
}

}  // namespace

QStringList translationFolders(const QString& programDir) {
    return {QDir::cleanPath(programDir + QStringLiteral("/../share/tomefuse/translations")),
            QDir::cleanPath(programDir + QStringLiteral("/translations"))};
}

void installTranslations(const QLocale& locale, const QString& programDir) {
    load(locale, QStringLiteral("qtbase"), {QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
    load(locale, QStringLiteral("tomefuse"), translationFolders(programDir));
    setTranslator(translateWithQt);
}

}  // namespace tomefuse
