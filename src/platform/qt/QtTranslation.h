#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

namespace tomefuse {

// The folders the application's catalogues may lie in: installed beside its help, or in the
// build tree beside the program.
QStringList translationFolders(const QString& programDir);

// Loads Qt's own catalogue (standard buttons and dialogs) and the application's for the locale,
// and gives the core's texts to the same lookup. What is missing leaves English in its place.
void installTranslations(const QLocale& locale, const QString& programDir);

}  // namespace tomefuse
