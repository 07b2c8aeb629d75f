#include "app/documents.h"

#include "platform/gui/message_box.h"

// Parameter files come with the documents work; until then a save is refused.
bool saveParameterFile()
{
    gui::messageBox("Ошибка", "Невозможно сохранить файл конфигурации", gui::Icon::Error);
    return false;
}
