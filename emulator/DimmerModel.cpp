#include "emulator/DimmerModel.h"

#include <strings.h>

#include "link/DeviceCommands.h"

// Each identify text holds the substring that selects its model when a dimmer is detected, and
// none that selects another one (the digits "5806" and the other model names stay out of it).
const std::vector<DimmerModel>& DimmerModels() {
    using T = DimmerTemperature;
    static const std::vector<DimmerModel> models = {
        {"qp1", "QP1", "QELVORN LED-Dimmer QP1 V1.2", DimmerLink::Cable, 4, 511, CMD_WRITE_TABLE_A,
         T::OneByte, true, true},
        {"qp2", "QP2", "QELVORN LED-Dimmer QP2 V1.2", DimmerLink::Cable, 4, 511, CMD_WRITE_TABLE_A,
         T::OneByte, true, true},
        {"qp3", "QP3", "QELVORN LED-Dimmer QP3 V1.2", DimmerLink::Cable, 4, 511, CMD_WRITE_TABLE_A,
         T::OneByte, true, true},
        {"qp4", "QP4", "QELVORN LED-Dimmer QP4 V2.0", DimmerLink::Cable, 4, 1023, CMD_WRITE_TABLE_B,
         T::FourReadings, true, true},
        {"qp-with-no", "QP with no", "QELVORN LED-Dimmer QP with no PowerUnit", DimmerLink::Cable,
         4, 511, CMD_WRITE_TABLE_A, T::OneByte, true, true},
        {"kav5806", "KAV5806", "QELVORN KAV5806 12-channel LED-Dimmer", DimmerLink::Cable, 12,
         65535, CMD_WRITE_TABLE_B, T::None, false, false},
        {"t5-qm", "T5 QM", "QELVORN DMX-LED-Dimmer T5 QM", DimmerLink::Cable, 9, 65535,
         CMD_WRITE_TABLE_B, T::None, false, false},
        {"t5qm", "T5QM", "QELVORN DMX-LED-Dimmer T5QM", DimmerLink::Serial, 9, 65535,
         CMD_WRITE_TABLE_B, T::None, false, false},
        {"nwe-r8p", "NWE Dimmer R8P", "QELVORN NWE Dimmer R8P", DimmerLink::Serial, 1, 1023,
         CMD_WRITE_TABLE_B, T::None, false, false},
    };
    return models;
}

const DimmerModel* FindDimmerModel(const std::string& name) {
    for (const DimmerModel& m : DimmerModels()) {
        if (strcasecmp(name.c_str(), m.name) == 0 || strcasecmp(name.c_str(), m.displayName) == 0) {
            return &m;
        }
    }
    return nullptr;
}
