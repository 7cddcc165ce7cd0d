// What detection reads from a dimmer's identify reply: the model texts it looks for, the title each
// one gives, which profile rules hold, and the profile that results: how many outputs, their range,
// the write command of each page, whether the temperature is polled, and what the window enables.
// Pure functions, so that the window, the command line and whatever plays a dimmer read a reply
// the same way.
#pragma once

#include "link/DeviceCommands.h"
#include "platform/os/CString.h"

// The serial models, by the text that names them.
extern const char SERIAL_MODEL_NWE_R8P[];  // "NWE Dimmer R8P"
extern const char SERIAL_MODEL_T5QM[];     // "DMX-LED-Dimmer T5QM"

// The title suffix for a reply on the cable: the first row of the title list whose text the reply
// contains, or the suffix of a cable without an identified dimmer.
const char* CableTitleSuffix(const CString& reply);

// The model alone ("QP4", "KAV5806", "T5 QM"), as the profile reads the reply: the title row's
// model, overridden as the profile rules override it; "" when the reply names none.
const char* CableModelName(const CString& deviceName);
// A serial model's name alone ("NWE Dimmer R8P", "T5QM") for one of the SERIAL_MODEL texts.
const char* SerialModelName(const char* model);

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

// The shape of the window, and of what may be asked of the dimmer, for one detection outcome.
struct DeviceProfile {
    CString titleSuffix = " - Offline";
    int outputs = 4;  // the outputs the bulk operations and the configuration file cover
    int maxValue = 1023;
    int outputTabs = 4;          // pages "Output 1" to "Output outputTabs"
    bool standAloneTab = false;  // after the output pages
    // The write command of pages 1 to 12 (0: none given).
    BYTE writeCommand[OUTPUT_COUNT_MAX] = {};
    // The temperature poll's reply length; 0 when the temperature is not polled.
    int tempReplyLength = 0;
    // Control groups: the output rows (all four, or the top row alone with the lower ones
    // disabled), the temperature group, and the scroll bar with its range (-1: disabled).
    bool outputControls = false;
    bool topRowOnly = false;
    bool temperatureControls = false;
    int scrollMax = -1;
};

// Nothing found.
DeviceProfile OfflineProfile();
// A cable matched `description`; `opened` says whether it opened (only then does the title name
// the reply `deviceName`, which is empty when no dimmer answered).
DeviceProfile CableProfile(const CString& description, bool opened, const CString& deviceName);
// A serial port answered with `model` (one of the SERIAL_MODEL texts).
DeviceProfile SerialProfile(const char* model);
