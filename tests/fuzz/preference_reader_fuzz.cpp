// The settings-style reader on arbitrary bytes: every walk and lookup must stay inside the text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/preference_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PreferenceReader reader;
    reader.parse(std::string_view(reinterpret_cast<const char*>(data), size));
    reader.startGroups();
    while (reader.nextGroup()) {
        (void)reader.readText("Model", "");
        (void)reader.readNumber("Width", 960);
        reader.startKeys();
        while (reader.nextKey()) {
            (void)reader.keyName();
            (void)reader.keyValue();
        }
    }
    return 0;
}
