#include "description/loader_kit.h"

#include "description/description_store.h"

namespace {
bool firstParameterPending = true;

template <class Record, class Row, class Fill>
void appendRows(RecordList<Record>& list, std::span<const Row> rows, Fill fill)
{
    for (const Row& row : rows) {
        Record& record = list.append();
        record.optionKey = currentOptionKey;
        fill(record, row);
    }
}

void fillDigit(DigitOption& record, const DigitRow& row)
{
    record.digitMask = row.digitMask;
    record.fieldValue = row.fieldValue;
    record.valueText = row.valueText;
    record.fieldName = row.fieldName;
}
}  // namespace

void beginDescription(const char* modelName)
{
    currentModelName = modelName;
    firstParameterPending = true;
}

void appendLinkDefaults(const LinkDefaults& defaults) { linkDefaults.append() = defaults; }

void appendErrorRows(std::span<const ErrorRow> rows)
{
    for (const ErrorRow& row : rows) {
        DeviceErrorCode& record = deviceErrorCodes.append();
        record.errorKind = row.errorKind;
        record.errorRegister = row.errorRegister;
        record.compareMode = row.compareMode;
        record.errorCode = row.errorCode;
        record.text = row.text;
    }
}

void appendGroups(std::span<const GroupRow> rows)
{
    for (const GroupRow& row : rows) {
        ParamGroup& record = paramGroups.append();
        record.code = row.code;
        record.name = row.name;
    }
}

void appendSubgroups(std::span<const SubgroupRow> rows)
{
    for (const SubgroupRow& row : rows) {
        ParamSubgroup& record = paramSubgroups.append();
        record.groupCode = row.groupCode;
        record.code = row.code;
        record.name = row.name;
    }
}

Parameter& appendParameter(const char* subgroupCode, const ParamRow& row, RegisterFields registers)
{
    if (firstParameterPending) {
        currentOptionKey = 1000;
        firstParameterPending = false;
    } else {
        ++currentOptionKey;
    }
    Parameter& p = parameters.append();
    p.subgroupCode = subgroupCode;
    p.code = row.code;
    p.name = row.name;
    p.minText = row.minText;
    p.maxText = row.maxText;
    p.defaultText = row.defaultText;
    p.displayFormat = row.displayFormat;
    p.access = row.access;
    p.optionCount = row.optionCount;
    p.optionKey = currentOptionKey;
    p.address = registers.address;
    p.eepromAddress = registers.eepromAddress;
    p.registerTable = registers.registerTable;
    return p;
}

void appendValueOptions(std::span<const ValueRow> rows)
{
    appendRows(valueOptions, rows, [](ValueOption& record, const ValueRow& row) {
        record.value = row.value;
        record.text = row.text;
    });
}

void appendBitOptions(std::span<const BitRow> rows)
{
    appendRows(bitOptions, rows, [](BitOption& record, const BitRow& row) {
        record.bitNumber = row.bitNumber;
        record.text = row.text;
    });
}

void appendDecDigitOptions(std::span<const DigitRow> rows) { appendRows(decDigitOptions, rows, fillDigit); }
void appendHexDigitOptions(std::span<const DigitRow> rows) { appendRows(hexDigitOptions, rows, fillDigit); }

Parameter& currentParameter() { return *parameters.current(); }

void sortParametersByKey() { parameters.sortBy(&Parameter::optionKey); }
