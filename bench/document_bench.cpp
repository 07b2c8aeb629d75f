#include "bench/sections.h"

#include <string>

#include "app/documents.h"
#include "app/loader_table.h"
#include "app/parameter_table.h"
#include "app/program_state.h"
#include "app/window_ids.h"
#include "bench/harness.h"
#include "description/description_store.h"
#include "platform/gui/gui.h"

namespace {

std::size_t textBytes(const std::string& s) { return s.capacity() > 15 ? s.capacity() + 1 : 0; }

// Bytes the loaded description's records take, texts included.
std::size_t descriptionBytes()
{
    std::size_t bytes = 0;
    for (const Parameter& p : parameters)
        bytes += sizeof p + textBytes(p.subgroupCode) + textBytes(p.code) + textBytes(p.name) + textBytes(p.defaultText) +
                 textBytes(p.minText) + textBytes(p.maxText);
    for (const ValueOption& o : valueOptions)
        bytes += sizeof o + textBytes(o.text);
    for (const BitOption& o : bitOptions)
        bytes += sizeof o + textBytes(o.text);
    for (const auto* list : {&decDigitOptions, &hexDigitOptions})
        for (const DigitOption& o : *list)
            bytes += sizeof o + textBytes(o.valueText) + textBytes(o.fieldName);
    return bytes;
}

void newDocumentOf(const char* title)
{
    documentState = 1;
    newDocument(title);
}

}  // namespace

void benchDocuments()
{
    bench::section("Loaders alone (median of 20)");
    for (const ModelEntry& model : loaderTable) {
        const double ms = bench::medianMs(20, [&] {
            clearDeviceDescription();
            model.loader();
        });
        bench::report(std::string("load ") + model.title, ms, "ms");
        bench::report(std::string("  rows of ") + model.title, static_cast<double>(descriptionBytes()) / 1024.0, "KB");
    }

    bench::section("New document: loader, initial values, tree, editors, table (median of 10)");
    for (const ModelEntry& model : loaderTable) {
        const bool largest = std::string(model.code) == "Yv33";
        const double ms = bench::medianMs(10, [&] { newDocumentOf(model.title); });
        bench::report(std::string("new document ") + model.title, ms, "ms", largest ? 100.0 : -1);
        const double painted = bench::medianMs(10, [&] {
            newDocumentOf(model.title);
            gui::repaintWindowNow(win::main);
        });
        bench::report(std::string("  and paint the window"), painted, "ms");
    }

    bench::section("Table refresh of the largest model (median of 20)");
    newDocumentOf("ПЧ Tovik Yv33");
    bench::report("resident memory with ПЧ Tovik Yv33 loaded", bench::residentMegabytes(), "MB", 100.0);
    const double all = bench::medianMs(20, [] {
        gui::treeSelect(ctl::tree, treeItemAll);
        refreshTableForTree();
    });
    bench::report("refresh \"Все параметры\" (" + std::to_string(gui::tableRowCount(ctl::table)) + " rows)", all, "ms",
                  30.0);
    const double painted = bench::medianMs(20, [] {
        gui::treeSelect(ctl::tree, treeItemAll);
        refreshTableForTree();
        gui::repaintWindowNow(win::main);
    });
    bench::report("refresh \"Все параметры\" and paint the window", painted, "ms");
    int largestSubgroup = 3;
    std::size_t mostRows = 0;
    for (const ParamSubgroup& subgroup : paramSubgroups) {
        std::size_t rows = 0;
        for (const Parameter& p : parameters)
            rows += p.subgroupCode == subgroup.code;
        if (rows > mostRows && subgroup.treeItem > 0) {
            mostRows = rows;
            largestSubgroup = subgroup.treeItem;
        }
    }
    const double one = bench::medianMs(20, [&] {
        gui::treeSelect(ctl::tree, largestSubgroup);
        refreshTableForTree();
    });
    bench::report("refresh the largest subgroup (" + std::to_string(mostRows) + " rows)", one, "ms", 5.0);
}
