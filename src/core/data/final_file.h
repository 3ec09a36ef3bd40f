#pragma once
// The final file F_cc.dat of the data folder: the scoring system's result of a category's final,
// a title line and one fixed-column line per couple in placing order.

#include <string>

#include "core/data/tables.h"

// One result line (at least 50 bytes) cut into row: placing (columns 0-5), leader (8-25) and
// partner (26-43) joined by " / ", affiliation (44-69), each trimmed; the ideographic space is
// kept. The back number is the three bytes before the first " - ", taken modulo mod; a line
// without " - " leaves NumberText as it was.
void ParseResultLine(const std::string& line, int mod, ResultRow& row);

// Reads F_cc.dat of category (1-based) into ResultTable: the title line, then at most 10 result
// lines, stopping at the end of the file or at the first line shorter than 50 bytes (line end
// counted as one). Rows past those read keep their texts; ResultRowCount changes only when a row
// is read. LastFinalRead tells what this read found. False when the file cannot be opened (the
// table is then untouched).
bool LoadFinalFile(const std::string& dataFolder, int category, int mod, ResultTables& t);
