// Where Yv33 departs from the Yv32 rows: two names, and the DI/DO procedures that store its counts.

#include "devices/yv32/option_procedures.h"
#include "devices/yv32/parameter_tables.h"

namespace {

constexpr Yv33RowChange changes[] = {
    {"r06.00", "Статус выходов DI(монитор)", nullptr},
    {"P06.01", nullptr, fillDiFunctionOptionsYv33},
    {"P06.02", nullptr, fillDiFunctionOptionsYv33},
    {"P06.03", nullptr, fillDiFunctionOptionsYv33},
    {"P06.04", nullptr, fillDiFunctionOptionsYv33},
    {"P06.05", nullptr, fillDiFunctionOptionsYv33},
    {"P06.06", nullptr, fillDiFunctionOptionsYv33},
    {"P06.07", nullptr, fillDiFunctionOptionsYv33},
    {"P06.08", nullptr, fillDiFunctionOptionsYv33},
    {"P06.09", nullptr, fillDiFunctionOptionsYv33},
    {"P06.10", nullptr, fillDiFunctionOptionsYv33},
    {"P06.13", nullptr, fillDiFunctionOptionsYv33},
    {"P06.14", nullptr, fillDiFunctionOptionsYv33},
    {"P06.15", nullptr, fillDiFunctionOptionsYv33},
    {"P06.20", "Инверсия цифрового входа", nullptr},
    {"P07.01", nullptr, fillDoFunctionOptionsYv33},
    {"P07.02", nullptr, fillDoFunctionOptionsYv33},
    {"P07.03", nullptr, fillDoFunctionOptionsYv33},
    {"P07.04", nullptr, fillDoFunctionOptionsYv33},
    {"P07.05", nullptr, fillDoFunctionOptionsYv33},
    {"P07.06", nullptr, fillDoFunctionOptionsYv33},
    {"P07.07", nullptr, fillDoFunctionOptionsYv33},
    {"P07.08", nullptr, fillDoFunctionOptionsYv33},
    {"P07.09", nullptr, fillDoFunctionOptionsYv33},
    {"P07.10", nullptr, fillDoFunctionOptionsYv33},
};

}  // namespace

constinit const std::span<const Yv33RowChange> yv33RowChanges = changes;
