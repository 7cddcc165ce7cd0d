#include "emulator/DimmerView.h"

#include "emulator/DimmerTexts.h"

DimmerView::DimmerView(const DimmerModel& model, std::string where)
    : m_model(model), m_where(std::move(where)) {}

std::string DimmerView::Render(const DimmerSnapshot& s, DimmerFault fault) const {
    std::string text =
        m_where.empty()
            ? DimmerFormat(N_("brenvo-dimmer: %s unplugged"), m_model.displayName)
            : DimmerFormat(N_("brenvo-dimmer: %s on %s"), m_model.displayName, m_where.c_str());
    text += DimmerFormat(N_("   fault: %s"), DimmerEmulator::FaultName(fault));
    text += s.hungUp ? DimmerSaid(N_("   (hung up)")) + "\n" : "\n";

    text += DimmerSaid(N_("Output levels"));
    for (int o = 0; o < m_model.outputs; ++o) {
        text += (o % 6 == 0 ? "\n " : "") +
                DimmerFormat("  %2d:%6ld", o + 1,
                             static_cast<long>(s.levels[static_cast<std::size_t>(o)]));
    }
    text += "\n" + DimmerSaid(N_("Tables written"));
    bool any = false;
    for (int o = 0; o < m_model.outputs; ++o) {
        const std::size_t k = static_cast<std::size_t>(o);
        if (s.tableWrites[k] == 0) {
            continue;
        }
        any = true;
        const DimmerTable& t = s.tables[k];
        text += DimmerFormat("\n  %2d: %ux  ", o + 1, static_cast<unsigned>(s.tableWrites[k]));
        text += DimmerFormat("[0]=%u [64]=%u [128]=%u [192]=%u [255]=%u", unsigned{t[0]},
                             unsigned{t[64]}, unsigned{t[128]}, unsigned{t[192]}, unsigned{t[255]});
    }
    text += any ? "\n" : DimmerSaid(N_(": none")) + "\n";

    if (m_model.hasEeprom) {
        text +=
            DimmerFormat(N_("EEPROM: %ld bytes stored, %ld refused (wrong check byte)"),
                         static_cast<long>(s.eepromBytes), static_cast<long>(s.eepromBadChecks));
        text += s.lastEepromAddress >= 0
                    ? DimmerFormat(N_(", last address %ld"), static_cast<long>(s.lastEepromAddress))
                    : std::string();
        text += "\n";
    }
    if (m_model.hasShutdown) {
        text +=
            DimmerFormat(N_("Shut-down temperature: raw %ld"), static_cast<long>(s.shutdownRaw)) +
            "\n";
    }
    if (m_model.temperature == DimmerTemperature::OneByte) {
        const long byte = static_cast<long>(s.temperatureByte);
        text += (byte > 127
                     ? DimmerFormat(N_("Temperature reported: byte %ld (no valid reading)"), byte)
                     : DimmerFormat(N_("Temperature reported: %ld degrees C"), byte)) +
                "\n";
    } else if (m_model.temperature == DimmerTemperature::FourReadings) {
        text += DimmerFormat(N_("Temperatures reported (raw): %ld %ld %ld %ld"),
                             static_cast<long>(s.rawTemperatures[0]),
                             static_cast<long>(s.rawTemperatures[1]),
                             static_cast<long>(s.rawTemperatures[2]),
                             static_cast<long>(s.rawTemperatures[3])) +
                "\n";
    }
    text += DimmerFormat(N_("Commands: %ld received, %ld ignored"), static_cast<long>(s.commands),
                         static_cast<long>(s.ignored)) +
            "\n" + DimmerSaid(N_("Latest:"));
    for (const std::string& line : s.recent) {
        text += "\n  " + line;
    }
    return text + "\n";
}
