// Dialog units to pixels, from the base units of the dialog font as Windows measures them: the
// average width of A-Z a-z and the font height; x * baseX / 4 and y * baseY / 8, rounded.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// Every template font maps to DejaVu Sans Condensed at 8 points (11 pixels, as at 96 dpi), whose
// base units are the Windows figures 6 x 13.
QFont DialogFont();
QSize DialogBaseUnits();
// The pixel rectangle of a template rectangle (each edge converted, as MapDialogRect does).
QRect MapDialogRect(int x, int y, int cx, int cy);
