#pragma once
// Qt's own Chinese translations, so the standard dialogs (the file dialogs and
// any standard button) speak the program's language. The program's own texts
// are Chinese already and stay as they are.

class QTranslator;

namespace vomra {

// Loads Qt's simplified Chinese catalogue into the running application and
// returns it (owned by the application); nullptr when it is not installed (the
// dialogs then stay in English).
QTranslator *installChineseTranslations();

} // namespace vomra
