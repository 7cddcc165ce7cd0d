#include "platform/ui/qt/TabOrder.h"

#include <QGroupBox>
#include <QTabBar>
#include <algorithm>
#include <tuple>

#include "platform/ui/Resource.h"
#include "platform/ui/qt/ControlNames.h"

QList<QWidget*> ReadingOrder(QWidget* client) {
    QList<QWidget*> controls;
    QList<QGroupBox*> groups;
    for (QObject* o : client->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || TemplateKind(w) < 0)
            continue;
        if (auto* g = qobject_cast<QGroupBox*>(w))
            groups.push_back(g);
        else
            controls.push_back(w);
    }
    auto key = [&groups](QWidget* w) {
        const QRect r = w->geometry();
        QRect region = r;
        for (QGroupBox* g : groups) {
            if (g->geometry().contains(r)) {
                region = g->geometry();
                break;
            }
        }
        const bool last = TemplateKind(w) == static_cast<int>(ControlKind::Tab);
        return std::make_tuple(last, region.top(), region.left(), r.top(), r.left());
    };
    std::stable_sort(controls.begin(), controls.end(),
                     [&key](QWidget* a, QWidget* b) { return key(a) < key(b); });
    return controls;
}

namespace {
// A tab control takes the focus on its bar.
QWidget* FocusOf(QWidget* w) {
    QTabBar* bar = w->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
    return bar ? static_cast<QWidget*>(bar) : w;
}
}  // namespace

void FocusFirstControl(QWidget* client) {
    for (QWidget* w : ReadingOrder(client)) {
        QWidget* f = FocusOf(w);
        if ((f->focusPolicy() & Qt::TabFocus) && f->isEnabled()) {
            f->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void OrderTabChain(QWidget* client) {
    QList<QWidget*> chain;
    for (QWidget* w : ReadingOrder(client)) {
        if (FocusOf(w) != w || w->focusPolicy() != Qt::NoFocus)
            chain.push_back(FocusOf(w));
    }
    // A page in a tab control comes right after the tabs.
    QWidget* parent = client->parentWidget();
    QTabBar* tabs = parent && !client->isWindow()
                        ? parent->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly)
                        : nullptr;
    if (tabs && !chain.isEmpty())
        QWidget::setTabOrder(tabs, chain.front());
    for (int i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}
