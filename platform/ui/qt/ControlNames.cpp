#include "platform/ui/qt/ControlNames.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QRegularExpression>
#include <QTabBar>
#include <limits>

#include "platform/ui/qt/QtText.h"

namespace {
constexpr const char* kKind = "brenvoKind";
constexpr const char* kNameText = "brenvoNameText";
// Dialog units scale to pixels; a label's field may begin up to this far below the label's top.
constexpr int kBelowReach = 30;

bool IsField(int kind) {
    switch (static_cast<ControlKind>(kind)) {
        case ControlKind::Edit:
        case ControlKind::ComboBox:
        case ControlKind::ListView:
        case ControlKind::Slider:
            return true;
        default:
            return false;
    }
}

QList<QWidget*> ControlsOf(QWidget* client) {
    QList<QWidget*> out;
    for (QObject* o : client->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && TemplateKind(w) >= 0)
            out.push_back(w);
    }
    return out;
}

QLabel* LabelOf(QWidget* control, const QList<QWidget*>& controls) {
    for (QWidget* w : controls) {
        auto* label = qobject_cast<QLabel*>(w);
        if (label && label->buddy() == control)
            return label;
    }
    return nullptr;
}

QString GroupOf(QWidget* control, const QList<QWidget*>& controls) {
    for (QWidget* w : controls) {
        auto* group = qobject_cast<QGroupBox*>(w);
        if (group && group->geometry().contains(control->geometry()))
            return NameFromLabel(group->title());
    }
    return QString();
}

// The page's caption: a page is a child client whose window text its tab control gave it.
QString PageCaption(QWidget* client) {
    return client->isWindow() ? QString() : client->windowTitle();
}
}  // namespace

void MarkTemplateControl(QWidget* control, const DialogItemTemplate& item) {
    control->setProperty(kKind, static_cast<int>(item.kind));
    // Fields show data, not their template text: theirs is a name, and so is a picture's, a
    // slider's and the like. Buttons, labels and group boxes are named by what they show.
    const bool showsText = item.kind == ControlKind::PushButton ||
                           item.kind == ControlKind::CheckBox ||
                           item.kind == ControlKind::GroupBox || item.kind == ControlKind::Static;
    if (!showsText && item.kind != ControlKind::Edit && item.text)
        control->setProperty(kNameText, ShownQString(item.text));
}

int TemplateKind(const QWidget* control) {
    const QVariant v = control->property(kKind);
    return v.isValid() ? v.toInt() : -1;
}

void LinkLabels(QWidget* client) {
    const QList<QWidget*> controls = ControlsOf(client);
    for (QWidget* w : controls) {
        auto* label = qobject_cast<QLabel*>(w);
        if (!label || TemplateKind(label) != static_cast<int>(ControlKind::Static))
            continue;
        const QRect l = label->geometry();
        QWidget* best = nullptr;
        int bestDistance = std::numeric_limits<int>::max();
        for (QWidget* f : controls) {
            if (!IsField(TemplateKind(f)))
                continue;
            const QRect r = f->geometry();
            const bool sameLine =
                r.top() <= l.bottom() && r.bottom() >= l.top() && r.left() >= l.left();
            const bool below = !sameLine && std::abs(r.left() - l.left()) <= l.height() &&
                               r.top() > l.top() && r.top() - l.top() <= kBelowReach;
            // A field on the label's line wins over one below it.
            const int distance = sameLine ? r.left() - l.left() : below ? 100000 + r.top() : -1;
            if (distance >= 0 && distance < bestDistance) {
                bestDistance = distance;
                best = f;
            }
        }
        if (best && !LabelOf(best, controls))
            label->setBuddy(best);
    }
}

QString NameFromLabel(const QString& text) {
    QString name = text;
    name.replace(QRegularExpression(QStringLiteral("&(.)")), QStringLiteral("\\1"));
    name = name.trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    name = name.trimmed();
    if (name.endsWith(QLatin1Char(')'))) {
        const qsizetype open = name.lastIndexOf(QStringLiteral(" ("));
        if (open > 0)
            name = name.left(open).trimmed();
    }
    return name;
}

void RefreshControlNames(QWidget* client) {
    const QList<QWidget*> controls = ControlsOf(client);
    for (QWidget* w : controls) {
        const int kind = TemplateKind(w);
        const QString nameText = w->property(kNameText).toString();
        if (!IsField(kind) && nameText.isEmpty() &&
            kind != static_cast<int>(ControlKind::ScrollBar))
            continue;
        QLabel* label = LabelOf(w, controls);
        const QString context = label ? NameFromLabel(label->text()) : PageCaption(client);
        QString name;
        if (!nameText.isEmpty()) {
            name = nameText.contains(QStringLiteral("%s"))
                       ? QString(nameText).replace(QStringLiteral("%s"), context)
                       : nameText;
        } else if (label) {
            name = context;
        } else {
            name = GroupOf(w, controls);
        }
        if (name.isEmpty())
            continue;
        if (w->accessibleName() != name)
            w->setAccessibleName(name);
        // A drop-down list's open list is the same control to a screen reader.
        if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->view())
            combo->view()->setAccessibleName(name);
        // The tab control's keyboard focus is on its bar.
        for (QTabBar* bar : w->findChildren<QTabBar*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (bar->accessibleName() != name)
                bar->setAccessibleName(name);
        }
    }
}
