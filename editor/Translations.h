#pragma once

#include <QLocale>

class QCoreApplication;

namespace Translations {
// Installs the program's own translation (pedal-editor_<lang>.qm, built into the program
// or installed in <prefix>/share/pedal-editor/translations) and Qt's own (qtbase_<lang>)
// for `locale`, each when there is one. The translators belong to `app`. Returns whether
// the program's own translation was found.
bool install(QCoreApplication &app, const QLocale &locale = QLocale::system());
} // namespace Translations
