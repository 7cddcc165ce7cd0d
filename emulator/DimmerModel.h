// The dimmer models the emulator can play: the link each one sits on, its identify text, its
// outputs and which of the protocol's commands it has.
#pragma once

#include <string>
#include <vector>

#include "platform/os/WinTypes.h"

enum class DimmerLink { Cable, Serial };
enum class DimmerTemperature { None, OneByte, FourReadings };

struct DimmerModel {
    const char* name;          // the --model value
    const char* displayName;   // as an operator calls it
    const char* identifyText;  // the reply to the identify command
    DimmerLink link;
    int outputs;
    long maxValue;           // the largest output level
    BYTE writeTableCommand;  // the table-write code it takes; the other one is ignored
    DimmerTemperature temperature;
    bool hasShutdown;  // reads and writes the shut-down temperature
    bool hasEeprom;    // takes StandAlone EEPROM bytes
};

// All models, cable models first.
const std::vector<DimmerModel>& DimmerModels();
// The model named `name` (its name or display name, letter case ignored), or nullptr.
const DimmerModel* FindDimmerModel(const std::string& name);
