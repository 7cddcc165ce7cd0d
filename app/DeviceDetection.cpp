// Device detection: the cable, then the serial ports, and the model profile that shapes the window.
#include "app/CBrenvoDlg.h"

void CBrenvoDlg::DetectDevice() {}
