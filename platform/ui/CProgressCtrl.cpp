#include "platform/ui/CProgressCtrl.h"

#include <QProgressBar>

#include "platform/ui/qt/WindowLink.h"

namespace {
constexpr const char* kStep = "brenvoStep";

int StepOf(const QProgressBar* p) {
    const QVariant v = p->property(kStep);
    return v.isValid() ? v.toInt() : 10;  // the Windows default step
}
}  // namespace

void CProgressCtrl::SetRange(short nLower, short nUpper) {
    SetRange32(nLower, nUpper);
}

void CProgressCtrl::SetRange32(int nLower, int nUpper) {
    auto* p = WidgetAs<QProgressBar>(*this);
    if (!p)
        return;
    const int pos = p->value();
    p->setRange(nLower, nUpper);
    // The position stays, limited to the new range.
    p->setValue(std::min(std::max(pos, p->minimum()), p->maximum()));
}

void CProgressCtrl::GetRange(int& nLower, int& nUpper) const {
    auto* p = WidgetAs<QProgressBar>(*this);
    nLower = p ? p->minimum() : 0;
    nUpper = p ? p->maximum() : 0;
}

int CProgressCtrl::SetPos(int nPos) {
    auto* p = WidgetAs<QProgressBar>(*this);
    if (!p)
        return 0;
    const int old = p->value();
    p->setValue(std::min(std::max(nPos, p->minimum()), p->maximum()));
    return old;
}

int CProgressCtrl::GetPos() const {
    auto* p = WidgetAs<QProgressBar>(*this);
    return p ? p->value() : 0;
}

int CProgressCtrl::SetStep(int nStep) {
    auto* p = WidgetAs<QProgressBar>(*this);
    if (!p)
        return 0;
    const int old = StepOf(p);
    p->setProperty(kStep, nStep);
    return old;
}

int CProgressCtrl::StepIt() {
    auto* p = WidgetAs<QProgressBar>(*this);
    if (!p)
        return 0;
    const int old = p->value();
    long long next = static_cast<long long>(old) + StepOf(p);
    const long long span = static_cast<long long>(p->maximum()) - p->minimum();
    if (next > p->maximum())
        next = span > 0 ? p->minimum() + (next - p->minimum()) % span : p->minimum();
    if (next < p->minimum())
        next = p->minimum();
    p->setValue(static_cast<int>(next));
    return old;
}
