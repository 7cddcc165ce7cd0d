// The options of brenvo-dimmer, parsed from its command line with a defined outcome for every
// input: the settings, a request for help, or an error text.
#pragma once

#include <optional>
#include <string>

#include "emulator/DimmerEmulator.h"
#include "emulator/DimmerModel.h"

class DimmerCommandLine {
public:
    // False with Error() set when the arguments are not understood.
    bool Parse(int argc, const char* const* argv);

    const DimmerModel* model = nullptr;  // qp1 unless --model names another
    DimmerFault fault = DimmerFault::None;
    unsigned lateMs = DimmerEmulator::DEFAULT_LATE_MS;
    std::optional<BYTE> temperatureByte;
    std::optional<DimmerRawTemperatures> rawTemperatures;
    std::optional<WORD> shutdownRaw;
    unsigned baudRate = 0;    // 0: the model's link decides
    std::string description;  // a cable's description; empty: the configuration cable's
    bool help = false;
    // The USB serial number it reports; empty: none of its own.
    std::string serialNumber;

    const std::string& Error() const { return m_error; }
    static std::string Usage();

private:
    bool Fail(const std::string& text);
    std::string m_error;
};
