#include "platform/ui/UiSeam.h"

#include "platform/ui/qt/QtUi.h"

namespace {
UiSeam* g_seam = nullptr;
}

UiSeam& CurrentUiSeam() {
    static QtUi production;
    return g_seam ? *g_seam : production;
}

void SetUiSeam(UiSeam* seam) {
    g_seam = seam;
}
