#include "link/ModelProfiles.h"

#include "link/CableTransport.h"
#include "platform/os/TextMark.h"

const char SERIAL_MODEL_NWE_R8P[] = "NWE Dimmer R8P";
const char SERIAL_MODEL_T5QM[] = "DMX-LED-Dimmer T5QM";

namespace {

struct TitleRow {
    const char* replyText;
    const char* suffix;
    const char* model;
};
constexpr char kKav5806Model[] = "KAV5806";
constexpr char kQp4Model[] = "QP4";
// In the order tested: a reply naming several models takes the first row.
constexpr TitleRow kCableTitles[] = {
    {"5806", " - LED-Dimmer KAV5806 Online", kKav5806Model},
    {"QP1", " - LED-Dimmer QP1 (1 PowerUnit) Online", "QP1"},
    {"QP2", " - LED-Dimmer QP2 (2 PowerUnit) Online", "QP2"},
    {"QP3", " - LED-Dimmer QP3 (3 PowerUnit) Online", "QP3"},
    {"QP4", " - LED-Dimmer QP4 (4 PowerUnit) Online", kQp4Model},
    {"QP with no", " - LED-Dimmer QP  (0 PowerUnit) Online", "QP with no"},
};
// The models of the profile rules 3 to 5 and of the serial profiles.
constexpr char kT5QMCableModel[] = "T5 QM";
constexpr char kT5QMSerialModel[] = "T5QM";
// Not a model's name but a state: shown in the user's language.
constexpr char kCableWithoutDimmer[] = N_(" - (Programming cable found / no device)");

// The reply texts of the profile rules; "5806" and "QP4" are also title rows.
constexpr char kCableT5QM[] = "DMX-LED-Dimmer T5 QM";
constexpr char kKav5806[] = "5806";
constexpr char kQp4[] = "QP4";

bool Contains(const CString& text, const char* part) {
    return text.Find(part) >= 0;
}

}  // namespace

const char* CableTitleSuffix(const CString& reply) {
    for (const TitleRow& row : kCableTitles) {
        if (Contains(reply, row.replyText)) {
            return row.suffix;
        }
    }
    return kCableWithoutDimmer;
}

const char* CableModelName(const CString& deviceName) {
    const char* model = "";
    for (const TitleRow& row : kCableTitles) {
        if (Contains(deviceName, row.replyText)) {
            model = row.model;
            break;
        }
    }
    // As the profile rules: a later one overrides what an earlier one set.
    const CableProfileRules rules = CableRulesFor(CString(), deviceName);
    if (rules.t5qm) {
        model = kT5QMCableModel;
    }
    if (rules.kav5806) {
        model = kKav5806Model;
    }
    if (rules.qp4) {
        model = kQp4Model;
    }
    return model;
}

const char* SerialModelName(const char* model) {
    return CString(model) == SERIAL_MODEL_T5QM ? kT5QMSerialModel : model;
}

CableProfileRules CableRulesFor(const CString& description, const CString& deviceName) {
    CableProfileRules rules;
    rules.cableFamily = description == CABLE_DESCRIPTION;
    rules.cableSeries = Contains(description, CABLE_SERIES);
    rules.t5qm = Contains(deviceName, kCableT5QM);
    rules.kav5806 = Contains(deviceName, kKav5806);
    rules.qp4 = Contains(deviceName, kQp4);
    return rules;
}

const char* SerialModelText(const CString& reply) {
    for (const char* model : {SERIAL_MODEL_NWE_R8P, SERIAL_MODEL_T5QM}) {
        if (Contains(reply, model)) {
            return model;
        }
    }
    return nullptr;
}

namespace {

constexpr char kSerialTitlePrefix[] = " - Connected to ";
constexpr char kT5QMTitle[] = " - Connected to DMX-LED-Dimmer T5 QM";
constexpr int kNineOutputsScrollMax = 5;
constexpr int kTwelveOutputsScrollMax = 8;

void SetWriteCommand(DeviceProfile& profile, int pages, BYTE command) {
    for (int k = 0; k < pages; ++k) {
        profile.writeCommand[k] = command;
    }
}

// Rules 3 and 4: the tabs are replaced by `outputs` output tabs of the 16-bit range, reached with
// the scroll bar; no StandAlone tab and no temperature.
void SixteenBitOutputs(DeviceProfile& p, int outputs, int scrollMax) {
    p.standAloneTab = false;
    p.maxValue = 65535;
    p.outputs = outputs;
    p.outputTabs = outputs;
    SetWriteCommand(p, outputs, CMD_WRITE_TABLE_B);
    p.outputControls = true;
    p.temperatureControls = false;
    p.scrollMax = scrollMax;
    p.tempReplyLength = 0;
}

// The rules in their fixed order, each changing what the ones before it set.
void ApplyRules(DeviceProfile& p, const CableProfileRules& rules) {
    if (rules.cableFamily) {
        p.maxValue = 511;
        p.outputs = 4;
        p.standAloneTab = true;
        p.outputControls = true;
        p.temperatureControls = true;
        SetWriteCommand(p, OUTPUT_COUNT_MAX, CMD_WRITE_TABLE_A);
        p.tempReplyLength = static_cast<int>(TEMPERATURE_REPLY_ONE_BYTE);
    }
    if (rules.cableSeries) {
        p.maxValue = 65535;
        p.outputs = 12;
        p.outputTabs = 12;
        SetWriteCommand(p, OUTPUT_COUNT_MAX, CMD_WRITE_TABLE_B);
    }
    if (rules.t5qm) {
        SixteenBitOutputs(p, 9, kNineOutputsScrollMax);
        p.titleSuffix = kT5QMTitle;
    }
    if (rules.kav5806) {
        SixteenBitOutputs(p, 12, kTwelveOutputsScrollMax);
    }
    if (rules.qp4) {
        p.maxValue = 1023;
        p.outputs = 4;
        SetWriteCommand(p, 4, CMD_WRITE_TABLE_B);
        p.outputControls = true;
        p.tempReplyLength = static_cast<int>(TEMPERATURE_REPLY_FOUR_READINGS);
    }
}

}  // namespace

DeviceProfile OfflineProfile() {
    return DeviceProfile();
}

DeviceProfile CableProfile(const CString& description, bool opened, const CString& deviceName) {
    DeviceProfile profile;
    if (opened) {
        profile.titleSuffix = CableTitleSuffix(deviceName);
    }
    ApplyRules(profile, CableRulesFor(description, deviceName));
    return profile;
}

DeviceProfile SerialProfile(const char* model) {
    DeviceProfile p;
    p.titleSuffix = CString(kSerialTitlePrefix) + model;
    if (CString(model) == SERIAL_MODEL_NWE_R8P) {
        p.outputTabs = 1;
        p.maxValue = 1023;
        p.outputs = 1;
        SetWriteCommand(p, 1, CMD_WRITE_TABLE_B);
        p.topRowOnly = true;
    } else {
        p.outputTabs = 9;
        p.maxValue = 65535;
        p.outputs = 9;
        SetWriteCommand(p, 9, CMD_WRITE_TABLE_B);
        p.outputControls = true;
        p.scrollMax = kNineOutputsScrollMax;
    }
    // The cable's rules are read against a serial model's name as well (none of them holds).
    ApplyRules(p, CableRulesFor(CString(), model));
    return p;
}
