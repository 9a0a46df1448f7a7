#pragma once

class QTranslator;

namespace vexo {

// Loads Qt's own Turkish texts (Debian's qt6-translations-l10n) into the application, whatever the
// desktop's language, so the standard buttons of boxes and dialogs read "Tamam", "İptal", "Evet",
// "Hayır" as everywhere else in the program. The translator belongs to the application; nullptr when
// the catalogue is not installed, and the buttons stay in English. With the catalogue it also makes
// Turkish the default locale, so that what Qt reads from the system by language (the file kinds of
// the file dialogs) is Turkish as well; the program's own number and date texts do not use it.
QTranslator *installQtTurkishTranslation();

} // namespace vexo
