#pragma once
// Conf.txt of the data folder: title lines, category and judge tables and the audience window's
// left edge. Also the hexadecimal Base Color of the maintenance panel.

#include <cstdint>
#include <string>

#include "core/data/tables.h"

// Reads Conf.txt into s. False when the file cannot be opened: then nothing changes. Shows
// nothing and draws nothing; the caller redraws the banner and fills its fields.
bool LoadDisplayConfig(const std::string& dataFolder, ConfigTables& s);

// The Base Color typed in hexadecimal (blue in the highest byte): each character shifts the value
// by one digit and adds its value, 0 for a non-hex character (a double-byte character is one).
// Only the first 31 characters count.
uint32_t ApplyHexColor(const std::string& text);
