// The live view of brenvo-dimmer as plain text: the level of every output, the last table
// written per output, EEPROM progress, the shut-down value, the temperatures it reports and the
// latest commands.
#pragma once

#include <string>
#include <utility>

#include "emulator/DimmerEmulator.h"

class DimmerView {
public:
    DimmerView(const DimmerModel& model, std::string where);
    // Where it is published now; "" shows it unplugged.
    void SetWhere(std::string where) { m_where = std::move(where); }
    std::string Render(const DimmerSnapshot& state, DimmerFault fault) const;

private:
    const DimmerModel& m_model;
    std::string m_where;  // the published port and its terminal
};
