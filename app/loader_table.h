#pragma once
// The eight model loaders in model-list order, with the titles newDocument matches and the codes
// of the new documents' file names.

#include <array>
#include <string_view>

using Loader = int (*)();

struct ModelEntry {
    const char* title;  // currentModelName the loader sets
    const char* code;   // "New_<code>.pmr"
    Loader loader;
};

extern const std::array<ModelEntry, 8> loaderTable;

// Position of the model with this title in loaderTable, or -1.
int modelIndexOf(std::string_view title);
