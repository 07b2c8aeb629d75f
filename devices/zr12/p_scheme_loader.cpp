#include "devices/zr12/p_scheme_loader.h"

#include <cstring>

#include "devices/zr12/function_options.h"
#include "devices/zr12/head_data.h"
#include "devices/zr12/parameter_tables.h"
#include "devices/zr12/registers.h"

namespace {

bool sameCode(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

bool isOmitted(const PSchemeVariant& variant, const char* code)
{
    for (const char* omitted : variant.omittedCodes)
        if (sameCode(omitted, code))
            return true;
    return false;
}

ParamEntry withChanges(const PSchemeVariant& variant, const ParamEntry& entry)
{
    ParamEntry result = entry;
    for (const ParamChange& change : variant.changes) {
        if (!sameCode(change.code, entry.row.code))
            continue;
        if (change.row)
            result.row = *change.row;
        if (change.options)
            result.options = *change.options;
    }
    return result;
}

void appendEntry(const PSchemeVariant& variant, const char* subgroupCode, const ParamEntry& entry)
{
    appendParameter(subgroupCode, entry.row, pSchemeRegisters(entry.row.code));
    const OptionRef& options = entry.options;
    switch (options.kind) {
    case OptionRef::Kind::none:
        break;
    case OptionRef::Kind::values:
        appendValueOptions(options.valueRows);
        break;
    case OptionRef::Kind::bits:
        appendBitOptions(options.bitRows);
        break;
    case OptionRef::Kind::decDigits:
        appendDecDigitOptions(options.digitRows);
        break;
    case OptionRef::Kind::hexDigits:
        appendHexDigitOptions(options.digitRows);
        break;
    case OptionRef::Kind::shared:
        if (const OptionProcedure procedure = (*variant.plan)[static_cast<std::size_t>(options.table)])
            procedure();
        break;
    }
}

}  // namespace

int loadPSchemeDescription(const PSchemeVariant& variant)
{
    beginDescription(variant.title);
    appendLinkDefaults(zr12LinkDefaults);
    appendErrorRows(zr12ErrorRows);
    appendGroups(zr12Groups);
    appendSubgroups(zr12Subgroups);
    for (const SubgroupParams* subgroup : zr12ParameterTables()) {
        for (const ParamEntry& entry : subgroup->entries) {
            if (!isOmitted(variant, entry.row.code))
                appendEntry(variant, subgroup->code, withChanges(variant, entry));
            for (const ParamInsertion& insertion : variant.insertions)
                if (sameCode(insertion.afterCode, entry.row.code))
                    for (const ParamEntry& added : insertion.entries)
                        appendEntry(variant, subgroup->code, added);
        }
    }
    sortParametersByKey();
    return 0;
}

int writeDoFunctionRows()
{
    appendValueOptions(Zr12DoFunctionOptions);
    return 0;
}

int writeAoFunctionRows()
{
    appendValueOptions(Zr12AoFunctionOptions);
    return 0;
}

int writeAiDiFunctionRows()
{
    appendValueOptions(Zr12AiDiFunctionOptions);
    return 0;
}
