#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "platform/gui/registry.h"

namespace gui::detail {

// Qt's own texts (file dialogs, the fields' context menus, standard buttons) are Russian like the
// rest of the program, whatever language the desktop speaks. Without the translation files they
// stay English.
void installQtTranslations()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

}  // namespace gui::detail
