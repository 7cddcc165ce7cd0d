#include "platform/ui/UiSeam.h"

#include "platform/ui/qt/QtUi.h"

namespace {
UiSeam* g_seam = nullptr;
int g_modalDepth = 0;
}  // namespace

UiSeam& CurrentUiSeam() {
    static QtUi production;
    return g_seam ? *g_seam : production;
}

void SetUiSeam(UiSeam* seam) {
    g_seam = seam;
}

int ModalDepth() {
    return g_modalDepth;
}

ModalScope::ModalScope() {
    ++g_modalDepth;
}

ModalScope::~ModalScope() {
    --g_modalDepth;
}
