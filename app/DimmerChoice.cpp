// Device > Choose dimmer: every dimmer attached, the one in use marked, and a switch to the one
// picked as Search for dimmer switches: the link in use is closed first, the pages follow the
// range rules, and nothing is written.
#include <algorithm>

#include "app/CBrenvoDlg.h"
#include "app/CDlgChooseDimmer.h"
#include "link/SerialTransport.h"
#include "link/TableLink.h"
#include "platform/ui/AfxFunctions.h"
#include "platform/ui/CBusyScope.h"
#include "platform/ui/Resource.h"
#include "resources/resource.h"

namespace {

bool SamePort(const DimmerPort& a, const DimmerPort& b) {
    if (a.link != b.link) {
        return false;
    }
    return a.link == LinkKind::Cable ? a.name == b.name : a.comNumber == b.comNumber;
}

}  // namespace

std::vector<FoundDimmer> CBrenvoDlg::ListAttachedDimmers() {
    const bool linkOpen = TableLinkIsOpen(m_hCable);
    const bool inUse = DimmerInUse();
    // The serial link has one port at a time: the one in use is opened again after the others.
    const bool serialInUse = inUse && m_port.link == LinkKind::Serial;
    if (serialInUse) {
        SerialClose();
    }
    std::vector<FoundDimmer> dimmers;
    for (const DimmerPort& port : ListDimmerPorts()) {
        if (linkOpen && SamePort(port, m_port)) {
            if (inUse) {  // as it is known; a cable without a dimmer is no dimmer to list
                FoundDimmer current;
                current.port = port;
                current.deviceName = m_strDeviceName;
                current.profile.titleSuffix = m_strTitleSuffix;
                dimmers.push_back(current);
            }
            continue;
        }
        FoundDimmer found;
        const bool answered = OpenDimmerLink(port, found) && IdentifyDimmer(found);
        CloseDimmerLink(found);
        if (answered) {
            dimmers.push_back(found);
        }
    }
    if (serialInUse && !SerialOpen(m_port.comNumber)) {
        DropLink(true);  // taken meanwhile: lost like a port that went
    }
    return dimmers;
}

void CBrenvoDlg::OnChooseDimmer() {
    EndLostLink();
    std::vector<FoundDimmer> dimmers;
    {
        CBusyScope busy;
        dimmers = ListAttachedDimmers();
    }
    DropLinkIfGone();  // told, not taken for what the listing told
    m_knownDimmers.clear();
    int inUse = -1;
    for (const FoundDimmer& dimmer : dimmers) {
        if (DimmerInUse() && SamePort(dimmer.port, m_port)) {
            inUse = static_cast<int>(m_knownDimmers.size());
        }
        m_knownDimmers.push_back(dimmer.port.name);
    }
    ShowTitle();
    if (dimmers.empty()) {
        AfxMessageBox(AfxFindString(IDS_CHOOSE_NONE), MB_OK | MB_ICONINFORMATION);
        return;
    }
    CDlgChooseDimmer dialog(dimmers, inUse, this);
    if (dialog.DoModal() != IDOK || dialog.m_nChosen < 0 || dialog.m_nChosen == inUse) {
        return;
    }
    // A dimmer lost while the dialog was open is told before another is taken.
    EndLostLink();
    SwitchToDimmer(dimmers[static_cast<std::size_t>(dialog.m_nChosen)].port);
}

void CBrenvoDlg::SwitchToDimmer(const DimmerPort& port) {
    FoundDimmer found;
    bool answered = false;
    {
        CBusyScope busy;
        CloseLink();
        answered = OpenDimmerLink(port, found) && IdentifyDimmer(found);
        if (!answered) {
            CloseDimmerLink(found);
        }
    }
    if (!answered) {
        CString text;
        text.Format(AfxFindString(IDS_CHOOSE_SILENT), port.name.c_str());
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
        RedetectDevice();  // not left offline while another dimmer may be there
        return;
    }
    UseDimmer(found);
}
