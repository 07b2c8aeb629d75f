#pragma once
// The table's texts for other programs: the CSV export and the two clipboard copies. All take the
// cells exactly as the table shows them.

#include <string>
#include <string_view>

// Fills exportRows with one row per table row, sorted by optionKey whatever the table's order.
void gatherExportRows();

// The CSV file's bytes for the gathered rows: byte-order mark FF FE, UTF-16LE, header line, CR LF.
std::string csvBytes();

// UTF-8 to UTF-16LE; a byte that starts no valid sequence becomes U+FFFD.
void appendUtf16le(std::string& out, std::string_view utf8);

// File, "Экспорт в CSV".
void exportCsv();
// The copy popup: the clicked row, or every row, as "code  name = value" lines ended by CR.
void copyRowToClipboard();
void copyAllToClipboard();
