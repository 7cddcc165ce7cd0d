#include "app/ModelProfiles.h"

#include "link/CableTransport.h"

const char SERIAL_MODEL_NWE_R8P[] = "NWE Dimmer R8P";
const char SERIAL_MODEL_T5QM[] = "DMX-LED-Dimmer T5QM";

namespace {

struct TitleRow {
    const char* replyText;
    const char* suffix;
};
// In the order tested: a reply naming several models takes the first row.
constexpr TitleRow kCableTitles[] = {
    {"5806", " - LED-Dimmer KAV5806 Online"},
    {"QP1", " - LED-Dimmer QP1 (1 PowerUnit) Online"},
    {"QP2", " - LED-Dimmer QP2 (2 PowerUnit) Online"},
    {"QP3", " - LED-Dimmer QP3 (3 PowerUnit) Online"},
    {"QP4", " - LED-Dimmer QP4 (4 PowerUnit) Online"},
    {"QP with no", " - LED-Dimmer QP  (0 PowerUnit) Online"},
};
constexpr char kCableWithoutDimmer[] = " - (Programming cable found / no device)";

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
