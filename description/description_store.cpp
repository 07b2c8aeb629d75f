#include "description/description_store.h"

#include <unordered_map>
#include <utility>

namespace {

// Lookups walk from the start in the original design; these indexes give the same first match
// without the walk and rebuild themselves whenever their list has changed.
template <class Record, class Key, class Hash = std::hash<Key>>
class FirstMatchIndex {
public:
    template <class KeyOf>
    const std::pair<std::size_t, std::size_t>* find(const RecordList<Record>& list, const Key& key, KeyOf keyOf)
    {
        if (builtFor_ != list.version() || !built_) {
            runs_.clear();
            const auto& records = list.records();
            for (std::size_t i = 0; i < records.size(); ++i) {
                auto [it, inserted] = runs_.try_emplace(Key(keyOf(records[i])), i, 1);
                // Extend the first run only while rows stay contiguous; later stray rows are not reachable
                // through a span, as the first-match rule of the walk prefers the earliest rows anyway.
                if (!inserted && it->second.first + it->second.second == i)
                    ++it->second.second;
            }
            builtFor_ = list.version();
            built_ = true;
        }
        const auto it = runs_.find(key);
        return it == runs_.end() ? nullptr : &it->second;
    }

private:
    std::unordered_map<Key, std::pair<std::size_t, std::size_t>, Hash> runs_;  // first row, run length
    std::uint64_t builtFor_ = 0;
    bool built_ = false;
};

FirstMatchIndex<Parameter, std::int32_t> parameterByKey;
FirstMatchIndex<Parameter, std::string> parameterByCode;
FirstMatchIndex<ValueOption, std::int32_t> valueRuns;
FirstMatchIndex<BitOption, std::int32_t> bitRuns;
FirstMatchIndex<DecDigitOption, std::int32_t> decRuns;
FirstMatchIndex<HexDigitOption, std::int32_t> hexRuns;

template <class Record, class Index>
std::span<const Record> runOf(const RecordList<Record>& list, Index& index, std::int32_t key)
{
    const auto* run = index.find(list, key, [](const Record& r) { return r.optionKey; });
    if (!run)
        return {};
    return std::span<const Record>(list.records().data() + run->first, run->second);
}

}  // namespace

int clearDeviceDescription()
{
    paramGroups.clear();
    paramSubgroups.clear();
    parameters.clear();
    valueOptions.clear();
    bitOptions.clear();
    decDigitOptions.clear();
    hexDigitOptions.clear();
    linkDefaults.clear();
    deviceErrorCodes.clear();
    RowToKey.clear();
    KeyToRow.clear();
    CheckedKeys.clear();
    return 0;
}

Parameter* findParameterByKey(std::int32_t optionKey)
{
    const auto* run = parameterByKey.find(parameters, optionKey, [](const Parameter& p) { return p.optionKey; });
    return run ? &parameters[run->first] : nullptr;
}

Parameter* findParameterByCode(std::string_view code)
{
    const auto* run = parameterByCode.find(parameters, std::string(code), [](const Parameter& p) { return p.code; });
    return run ? &parameters[run->first] : nullptr;
}

std::span<const ValueOption> valueOptionsOf(std::int32_t optionKey) { return runOf(valueOptions, valueRuns, optionKey); }
std::span<const BitOption> bitOptionsOf(std::int32_t optionKey) { return runOf(bitOptions, bitRuns, optionKey); }
std::span<const DecDigitOption> decDigitOptionsOf(std::int32_t optionKey) { return runOf(decDigitOptions, decRuns, optionKey); }
std::span<const HexDigitOption> hexDigitOptionsOf(std::int32_t optionKey) { return runOf(hexDigitOptions, hexRuns, optionKey); }

const LinkDefaults* loadedLinkDefaults() { return linkDefaults.empty() ? nullptr : &linkDefaults[0]; }
