// A table's section of a configuration file: "TABLE<output index>" with MAX and VALUE0 to
// VALUE255, through the private-profile services.
#pragma once

#include "tables/LookupTable.h"

// Writes the section. FALSE when the services refused a write.
BOOL SaveTableSection(const char* path, int outputIndex, WORD maxValue,
                      const WORD (&table)[TABLE_SIZE]);
// Reads the section. False, with nothing changed, when it has no range (no such section, or MAX
// missing or 0); otherwise `maxValue` is MAX cut to 16 bits and every entry is read (a missing one
// as 0), cut to 16 bits.
bool LoadTableSection(const char* path, int outputIndex, WORD& maxValue, WORD (&table)[TABLE_SIZE]);
