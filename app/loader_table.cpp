#include "app/loader_table.h"

#include "devices/jx9/loaders.h"
#include "devices/yv20/loaders.h"
#include "devices/yv32/loaders.h"
#include "devices/zr12/loaders.h"
#include "devices/zr48/loaders.h"

const std::array<ModelEntry, 8> loaderTable = {{
    {"ПЧ Tovik Zr12", "Zr12", loadDescriptionZr12},
    {"ПЧ Halmer Zr24", "Zr24", loadDescriptionZr24},
    {"ПЧ Tovik Zr48", "Zr48", loadDescriptionZr48},
    {"ПЧ Tovik Zr48X", "Zr48X", loadDescriptionZr48X},
    {"ПЧ Tovik Yv20", "Yv20", loadDescriptionYv20},
    {"ПЧ Tovik Yv32", "Yv32", loadDescriptionYv32},
    {"ПЧ Tovik Yv33", "Yv33", loadDescriptionYv33},
    {"УПП Tovik Jx9", "Jx9", loadDescriptionJx9},
}};

int modelIndexOf(std::string_view title)
{
    for (std::size_t i = 0; i < loaderTable.size(); ++i)
        if (title == loaderTable[i].title)
            return static_cast<int>(i);
    return -1;
}
