// What detection reads from a dimmer's identify reply: the model texts it looks for, the title each
// one gives, and which profile rules hold. Pure functions, so that whatever plays a dimmer can be
// checked against the application's own reading of its reply.
#pragma once

#include "platform/os/CString.h"

// The serial models, by the text that names them.
extern const char SERIAL_MODEL_NWE_R8P[];  // "NWE Dimmer R8P"
extern const char SERIAL_MODEL_T5QM[];     // "DMX-LED-Dimmer T5QM"

// The title suffix for a reply on the cable: the first row of the title list whose text the reply
// contains, or the suffix of a cable without an identified dimmer.
const char* CableTitleSuffix(const CString& reply);

// The profile rules that hold for a cable whose matched description is `description` and whose
// dimmer answered `deviceName`. Applied in this order, a later one overriding an earlier one.
struct CableProfileRules {
    bool cableFamily = false;  // 1: the maker's configuration cable
    bool cableSeries = false;  // 2: a cable of the twelve-output series
    bool t5qm = false;         // 3: nine outputs
    bool kav5806 = false;      // 4: twelve outputs
    bool qp4 = false;          // 5: four outputs, four temperature readings
};
CableProfileRules CableRulesFor(const CString& description, const CString& deviceName);

// The serial model text that a reply names (checked in this order), or nullptr.
const char* SerialModelText(const CString& reply);
