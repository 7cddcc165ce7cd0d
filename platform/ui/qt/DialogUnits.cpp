#include "platform/ui/qt/DialogUnits.h"

#include <QFontMetrics>

namespace {
int MulDiv(int a, int b, int c) {
    const long long p = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(p >= 0 ? (p + half) / c : (p - half) / c);
}
}  // namespace

QFont DialogFont() {
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(11);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QSize DialogBaseUnits() {
    static const QSize units = [] {
        const QFontMetrics fm(DialogFont());
        const int width = fm.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        return QSize((width / 26 + 1) / 2, fm.height());
    }();
    return units;
}

QRect MapDialogRect(int x, int y, int cx, int cy) {
    const QSize base = DialogBaseUnits();
    const int left = MulDiv(x, base.width(), 4);
    const int top = MulDiv(y, base.height(), 8);
    const int right = MulDiv(x + cx, base.width(), 4);
    const int bottom = MulDiv(y + cy, base.height(), 8);
    return QRect(left, top, right - left, bottom - top);
}
