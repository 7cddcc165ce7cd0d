// What the main window finds when it starts, for tests: emulated dimmers on a recording cable
// driver and on emulated COM ports, a recording time service that skips every pause, and no real
// port touched. The main window then runs modally through the scripted seam while a test body acts
// on it.
#pragma once

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "app/CBrenvoDlg.h"
#include "emulator/DimmerEmulator.h"
#include "link/CableTransport.h"
#include "link/SerialTransport.h"
#include "platform/ui/testing/ScriptedUi.h"
#include "resources/BrenvoResources.h"
#include "tests/support/EmulatedSerialPorts.h"
#include "tests/support/RecordingCableDriver.h"
#include "tests/support/RecordingTimeService.h"

using Table = std::array<WORD, TABLE_ENTRIES>;

// A table no curve gives: entry i is seed * 1000 + i.
inline Table Pattern(int seed) {
    Table table{};
    for (int i = 0; i < TABLE_ENTRIES; ++i) {
        table[static_cast<std::size_t>(i)] = static_cast<WORD>(seed * 1000 + i);
    }
    return table;
}

inline Table PageTable(const CDlgTable& page) {
    Table table{};
    std::copy(std::begin(page.m_table), std::end(page.m_table), table.begin());
    return table;
}

inline DWORD TotalPause(const RecordingTimeService& time) {
    const std::vector<DWORD> pauses = time.Pauses();
    return std::accumulate(pauses.begin(), pauses.end(), DWORD{0});
}

inline std::vector<std::string> MessageTexts(const ScriptedUi& ui) {
    std::vector<std::string> texts;
    for (const ScriptedUi::Call& call : ui.CallsOf(ScriptedUi::Kind::MessageBox)) {
        texts.push_back(call.text.GetString());
    }
    return texts;
}

class DimmerRig {
public:
    DimmerRig() : m_cable(&m_time) { AfxSetResourceSet(&BrenvoResources()); }
    ~DimmerRig() { SerialClose(); }  // the serial link is process-wide
    DimmerRig(const DimmerRig&) = delete;
    DimmerRig& operator=(const DimmerRig&) = delete;

    // A cable with this description, and the model (by name, e.g. "qp4") answering behind it;
    // a null model leaves the cable without a dimmer.
    DimmerEmulator* AttachCable(const char* model, const char* description = CABLE_DESCRIPTION,
                                FT_STATUS openStatus = FT_OK) {
        m_cable.AddDevice(description, "", openStatus);
        DimmerEmulator* dimmer = model ? Make(model) : nullptr;
        if (dimmer) {
            m_cable.AttachResponder(dimmer);
        }
        return dimmer;
    }
    // A dimmer that answers from now on behind the cable attached last (switched on later).
    DimmerEmulator* AnswerOnCable(const char* model) {
        DimmerEmulator* dimmer = Make(model);
        m_cable.AttachResponder(dimmer);
        return dimmer;
    }
    // A serial model on COM port `comNumber` (193 is the first emulated port).
    DimmerEmulator* AttachSerial(const char* model, int comNumber = 193) {
        DimmerEmulator* dimmer = Make(model);
        m_serial.Attach(comNumber, dimmer);
        return dimmer;
    }

    // Runs the main window modally; `body` acts on it while it is shown, then the run ends.
    void Run(const std::function<void(CBrenvoDlg&)>& body) {
        m_ui.ExpectModal(
            [&](CDialog& dialog) {
                body(static_cast<CBrenvoDlg&>(dialog));
                if (!dialog.IsEnded()) {
                    dialog.EndDialog(IDCANCEL);
                }
            },
            IDD_BRENVO_DIALOG);
        m_dlg.DoModal();
    }

    RecordingTimeService& Time() { return m_time; }
    RecordingCableDriver& Cable() { return m_cable; }
    EmulatedSerialPorts& Serial() { return m_serial; }
    ScriptedUi& Ui() { return m_ui; }
    CBrenvoDlg& Dlg() { return m_dlg; }

private:
    DimmerEmulator* Make(const char* model) {
        const DimmerModel* found = FindDimmerModel(model);
        if (!found) {
            return nullptr;
        }
        m_dimmers.push_back(std::make_unique<DimmerEmulator>(*found));
        return m_dimmers.back().get();
    }

    RecordingTimeService m_time;
    RecordingCableDriver m_cable;
    EmulatedSerialPorts m_serial;
    std::vector<std::unique_ptr<DimmerEmulator>> m_dimmers;
    ScriptedUi m_ui;
    CBrenvoDlg m_dlg;
};
