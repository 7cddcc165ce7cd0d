#include "emulator/DimmerView.h"

#include <cstdio>

namespace {
std::string Format(const char* format, long a, long b = 0, long c = 0) {
    char text[128];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}
}  // namespace

DimmerView::DimmerView(const DimmerModel& model, std::string where)
    : m_model(model), m_where(std::move(where)) {}

std::string DimmerView::Render(const DimmerSnapshot& s, DimmerFault fault) const {
    std::string text = "brenvo-dimmer: " + std::string(m_model.displayName) +
                       (m_where.empty() ? " unplugged" : " on " + m_where);
    text += "   fault: " + std::string(DimmerEmulator::FaultName(fault));
    text += s.hungUp ? "   (hung up)\n" : "\n";

    text += "Output levels";
    for (int o = 0; o < m_model.outputs; ++o) {
        text += (o % 6 == 0 ? "\n " : "") +
                Format("  %2ld:%6ld", o + 1L, s.levels[static_cast<std::size_t>(o)]);
    }
    text += "\nTables written";
    bool any = false;
    for (int o = 0; o < m_model.outputs; ++o) {
        const std::size_t k = static_cast<std::size_t>(o);
        if (s.tableWrites[k] == 0) {
            continue;
        }
        any = true;
        const DimmerTable& t = s.tables[k];
        text += Format("\n  %2ld: %ldx  ", o + 1L, s.tableWrites[k]);
        text += Format("[0]=%ld [64]=%ld [128]=%ld", t[0], t[64], t[128]);
        text += Format(" [192]=%ld [255]=%ld", t[192], t[255]);
    }
    text += any ? "\n" : ": none\n";

    if (m_model.hasEeprom) {
        text += Format("EEPROM: %ld bytes stored, %ld refused (wrong check byte)", s.eepromBytes,
                       s.eepromBadChecks);
        text +=
            s.lastEepromAddress >= 0 ? Format(", last address %ld\n", s.lastEepromAddress) : "\n";
    }
    if (m_model.hasShutdown) {
        text += Format("Shut-down temperature: raw %ld\n", s.shutdownRaw);
    }
    if (m_model.temperature == DimmerTemperature::OneByte) {
        text +=
            s.temperatureByte > 127
                ? Format("Temperature reported: byte %ld (no valid reading)\n", s.temperatureByte)
                : Format("Temperature reported: %ld degrees C\n", s.temperatureByte);
    } else if (m_model.temperature == DimmerTemperature::FourReadings) {
        text += Format("Temperatures reported (raw): %ld %ld %ld", s.rawTemperatures[0],
                       s.rawTemperatures[1], s.rawTemperatures[2]);
        text += Format(" %ld\n", s.rawTemperatures[3]);
    }
    text += Format("Commands: %ld received, %ld ignored\nLatest:", s.commands, s.ignored);
    for (const std::string& line : s.recent) {
        text += "\n  " + line;
    }
    return text + "\n";
}
