#include "platform/ui/qt/DialogBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <vector>

#include "platform/ui/qt/ControlNames.h"
#include "platform/ui/qt/DialogUnits.h"
#include "platform/ui/qt/ListViewWidget.h"
#include "platform/ui/qt/MenuActions.h"
#include "platform/ui/qt/Mnemonics.h"
#include "platform/ui/qt/NotifyingSlider.h"
#include "platform/ui/qt/PictureLabel.h"
#include "platform/ui/qt/QtText.h"
#include "platform/ui/qt/RequestScrollBar.h"
#include "platform/ui/qt/TabControlWidget.h"
#include "platform/ui/qt/TabOrder.h"
#include "platform/ui/qt/WindowLink.h"

namespace {
QWidget* MakeControl(QWidget* client, const DialogItemTemplate& item) {
    // An edit's text is data; every other text is shown in the user's language.
    const QString text =
        item.kind == ControlKind::Edit ? ToQString(item.text) : ShownQString(item.text);
    switch (item.kind) {
        case ControlKind::PushButton: {
            auto* b = new QPushButton(text, client);
            b->setAutoDefault(false);
            if ((item.style & 0xF) == BS_DEFPUSHBUTTON) {
                b->setDefault(true);
                b->setProperty("brenvoDefault", true);
            }
            QObject::connect(b, &QPushButton::clicked, b,
                             [b]() { SendCommandFrom(b, BN_CLICKED); });
            return b;
        }
        case ControlKind::CheckBox: {
            auto* c = new QCheckBox(text, client);
            QObject::connect(c, &QCheckBox::clicked, c, [c]() { SendCommandFrom(c, BN_CLICKED); });
            return c;
        }
        case ControlKind::GroupBox: {
            auto* g = new QGroupBox(text, client);
            // Group boxes are transparent to the mouse on Windows: clicks reach the controls
            // inside.
            g->setAttribute(Qt::WA_TransparentForMouseEvents);
            return g;
        }
        case ControlKind::Static: {
            auto* l = new QLabel(text, client);
            l->setTextFormat(Qt::PlainText);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return l;
        }
        case ControlKind::Picture:
            return new PictureLabel(client);
        case ControlKind::Edit: {
            auto* e = new QLineEdit(text, client);
            e->setFrame((item.style & WS_BORDER) != 0);
            e->setReadOnly((item.style & ES_READONLY) != 0);
            if (item.style & ES_NUMBER) {
                e->setValidator(new QRegularExpressionValidator(
                    QRegularExpression(QStringLiteral("[0-9]*")), e));
            }
            QObject::connect(e, &QLineEdit::textChanged, e,
                             [e]() { SendCommandFrom(e, EN_CHANGE); });
            return e;
        }
        case ControlKind::ComboBox: {
            auto* c = new QComboBox(client);
            for (const char* const* p = item.items; p && *p; ++p)
                c->addItem(ShownQString(*p));
            c->setCurrentIndex(-1);
            QObject::connect(c, QOverload<int>::of(&QComboBox::activated), c,
                             [c](int) { SendCommandFrom(c, CBN_SELCHANGE); });
            return c;
        }
        case ControlKind::ListView:
            return new ListViewWidget(client);
        case ControlKind::Slider: {
            auto* s = new NotifyingSlider(client);
            s->setRange(0, 100);
            s->setTickPosition((item.style & TBS_NOTICKS) ? QSlider::NoTicks : QSlider::TicksBelow);
            return s;
        }
        case ControlKind::ScrollBar: {
            auto* s = new RequestScrollBar(client);
            s->setRange(0, 0);
            return s;
        }
        case ControlKind::Progress: {
            auto* p = new QProgressBar(client);
            p->setRange(0, 100);
            p->setValue(0);
            p->setTextVisible(false);
            return p;
        }
        case ControlKind::Tab:
            return new TabControlWidget(client);
    }
    return new QWidget(client);
}

void AddMenuItems(QMenu* menu, const MenuItemTemplate* items, int count) {
    for (int i = 0; i < count; ++i) {
        const MenuItemTemplate& item = items[i];
        if (item.popup) {
            QMenu* sub = menu->addMenu(ShownQString(item.text));
            AddMenuItems(sub, item.popup, item.popupCount);
        } else if (!item.text) {
            menu->addAction(NewMenuSeparator(menu));
        } else {
            menu->addAction(NewMenuCommand(menu, item.id, ShownQString(item.text)));
        }
    }
}
}  // namespace

void BuildControls(QWidget* client, const DialogTemplate& tmpl) {
    client->setFont(DialogFont());
    std::vector<QWidget*> made;
    for (int i = 0; i < tmpl.itemCount; ++i) {
        const DialogItemTemplate& item = tmpl.items[i];
        QWidget* w = MakeControl(client, item);
        SetControlId(w, item.id);
        MarkTemplateControl(w, item);
        QRect r = MapDialogRect(item.x, item.y, item.cx, item.cy);
        if (item.kind == ControlKind::ComboBox) {
            // The template height is the height of the open list; the closed box is one line.
            r.setHeight(w->sizeHint().height());
        }
        if ((item.kind == ControlKind::Static || item.kind == ControlKind::CheckBox) &&
            w->sizeHint().width() > r.width()) {
            // The stand-in font runs a little wider than the Windows one for some texts, and a
            // translation may be longer: a label or a check box grows to show its whole text
            // rather than cut it (labels take no clicks, see below).
            r.setWidth(w->sizeHint().width());
        }
        w->setGeometry(r);
        if (item.style & WS_DISABLED)
            w->setEnabled(false);
        if (!(item.style & WS_TABSTOP) && item.kind != ControlKind::Static &&
            item.kind != ControlKind::GroupBox && item.kind != ControlKind::Picture) {
            w->setFocusPolicy(Qt::ClickFocus);
        }
        made.push_back(w);
    }
    // The first control lies on top, as in the Windows z-order.
    for (QWidget* w : made)
        w->lower();
    LinkLabels(client);
    OrderTabChain(client);
    RefreshControlNames(client);
}

void BuildMenuBar(QMenuBar* bar, const MenuTemplate& tmpl) {
    for (int i = 0; i < tmpl.itemCount; ++i) {
        const MenuItemTemplate& item = tmpl.items[i];
        if (item.popup) {
            QMenu* sub = bar->addMenu(ShownQString(item.text));
            AddMenuItems(sub, item.popup, item.popupCount);
        } else if (item.text) {
            bar->addAction(NewMenuCommand(bar, item.id, ShownQString(item.text)));
        }
    }
    AssignMenuMnemonics(bar);
}
