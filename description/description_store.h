#pragma once
// The one loaded device description: the description lists, the export rows, the table maps,
// and lookups by key and by code.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "description/description.h"
#include "description/record_list.h"
#include "description/text_key_map.h"

inline RecordList<ParamGroup> paramGroups;
inline RecordList<ParamSubgroup> paramSubgroups;
inline RecordList<Parameter> parameters;
inline RecordList<ExportRow> exportRows;
inline RecordList<ValueOption> valueOptions;
inline RecordList<BitOption> bitOptions;
inline RecordList<DecDigitOption> decDigitOptions;
inline RecordList<HexDigitOption> hexDigitOptions;
inline RecordList<LinkDefaults> linkDefaults;
inline RecordList<DeviceErrorCode> deviceErrorCodes;

inline TextKeyMap RowToKey;     // table row -> optionKey
inline TextKeyMap KeyToRow;     // optionKey -> table row
inline TextKeyMap CheckedKeys;  // optionKey -> check mark (1 or 0)

inline std::string currentModelName = "----";
inline std::int32_t currentOptionKey = 0;

// Empties the nine description lists and the three maps; leaves exportRows and every variable.
int clearDeviceDescription();

// First parameter with the key / the code, or nullptr.
Parameter* findParameterByKey(std::int32_t optionKey);
Parameter* findParameterByCode(std::string_view code);

// The option rows of a key, in list order. A loader appends a parameter's rows together, so they
// form one run; an empty span when the key has none.
std::span<const ValueOption> valueOptionsOf(std::int32_t optionKey);
std::span<const BitOption> bitOptionsOf(std::int32_t optionKey);
std::span<const DecDigitOption> decDigitOptionsOf(std::int32_t optionKey);
std::span<const HexDigitOption> hexDigitOptionsOf(std::int32_t optionKey);

// The loaded LinkDefaults row, or nullptr before any load.
const LinkDefaults* loadedLinkDefaults();
