#include "platform/ui/CButton.h"

#include <QAbstractButton>

#include "platform/ui/qt/WindowLink.h"

void CButton::SetCheck(int nCheck) {
    if (auto* b = WidgetAs<QAbstractButton>(*this)) {
        if (b->isCheckable())
            b->setChecked(nCheck == BST_CHECKED);
    }
}

int CButton::GetCheck() const {
    auto* b = WidgetAs<QAbstractButton>(*this);
    return b && b->isCheckable() && b->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}
