#include "app/parameter_file.h"

#include "app/comm_window.h"
#include "app/preference_file.h"

namespace {

struct ListSetting {
    const char* key;
    int list;
    std::int32_t defaultPosition;
};

// Positions in the lists are stored, not their values: Baud 3 is "9600".
constexpr ListSetting listSettings[] = {
    {"Baud", commctl::baudList, 3},
    {"Parity", commctl::parityList, 0},
    {"DataBit", commctl::dataBitsList, 1},
    {"StopBit", commctl::stopBitsList, 0},
    {"Mode", commctl::modeList, 0},
};

}  // namespace

void writeLinkSettings(PreferenceWriter& writer)
{
    writer.writeText("Address", gui::text(commctl::addressField));
    writer.writeText("Port", gui::text(commctl::portList));
    for (const ListSetting& setting : listSettings)
        writer.writeNumber(setting.key, gui::state(setting.list));
}

void readLinkSettings(const PreferenceReader& reader)
{
    // Port is not read: the ports of this machine are the scan's business.
    gui::setText(commctl::addressField, reader.readText("Address", "1"));
    if (gui::controlExists(commctl::addressField))
        deviceAddressText = gui::text(commctl::addressField);
    for (const ListSetting& setting : listSettings) {
        const std::int32_t position = reader.readNumber(setting.key, setting.defaultPosition);
        // A position the list does not have would leave it without a selection.
        if (position >= 0 && position < gui::itemCount(setting.list))
            gui::setState(setting.list, position);
    }
}
