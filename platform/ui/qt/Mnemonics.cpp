#include "platform/ui/qt/Mnemonics.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

#include "platform/ui/Resource.h"
#include "platform/ui/qt/ControlNames.h"
#include "platform/ui/qt/TabOrder.h"

namespace {
constexpr const char* kAdded = "brenvoMnemonic";  // the letter the framework marked
constexpr const char* kPage = "brenvoPage";

bool IsLetter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

// The index in `text` to mark, or -1: word initials first, then any letter.
int ChooseIndex(const QString& text, const QSet<QChar>& taken) {
    const int tab = static_cast<int>(text.indexOf(QLatin1Char('\t')));
    const int end = tab < 0 ? static_cast<int>(text.size()) : tab;
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < end; ++i) {
            const QChar c = text[i];
            const bool initial = i == 0 || !text[i - 1].isLetterOrNumber();
            if (IsLetter(c) && (pass == 1 || initial) && !taken.contains(c.toLower()))
                return i;
        }
    }
    return -1;
}

struct Item {
    QObject* holder;
    QString text;
};

QString TextOfItem(QObject* o) {
    if (auto* a = qobject_cast<QAction*>(o))
        return a->text();
    if (auto* b = qobject_cast<QAbstractButton*>(o))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(o))
        return l->text();
    return QString();
}

void SetTextOfItem(QObject* o, const QString& text) {
    if (auto* a = qobject_cast<QAction*>(o))
        a->setText(text);
    else if (auto* b = qobject_cast<QAbstractButton*>(o))
        b->setText(text);
    else if (auto* l = qobject_cast<QLabel*>(o))
        l->setText(text);
}

// Gives each item without a letter a free one; `taken` holds the letters already in use.
void Mark(const QList<QObject*>& items, QSet<QChar> taken) {
    for (QObject* o : items) {
        const QChar c = MnemonicOf(TextOfItem(o));
        if (!c.isNull())
            taken.insert(c);
    }
    for (QObject* o : items) {
        const QString text = TextOfItem(o);
        if (!MnemonicOf(text).isNull() || text.isEmpty())
            continue;
        const int at = ChooseIndex(text, taken);
        if (at < 0)
            continue;
        taken.insert(text[at].toLower());
        QString marked = text;
        marked.insert(at, QLatin1Char('&'));
        o->setProperty(kAdded, QString(text[at].toLower()));
        SetTextOfItem(o, marked);
    }
}

// The controls of a client that take a letter, in reading order: buttons, check boxes and labels of
// fields (not of sliders: their labels show values and follow the scroll bar; not of read-only
// fields).
QList<QObject*> Takers(QWidget* client) {
    QList<QObject*> out;
    for (QWidget* widget : ReadingOrder(client)) {
        const int kind = TemplateKind(widget);
        if (kind == static_cast<int>(ControlKind::PushButton) ||
            kind == static_cast<int>(ControlKind::CheckBox)) {
            out.push_back(widget);
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            // A field that only shows (a read-only edit) needs no key to reach it.
            QWidget* buddy = label->buddy();
            auto* edit = qobject_cast<QLineEdit*>(buddy);
            if (buddy && TemplateKind(buddy) != static_cast<int>(ControlKind::Slider) &&
                !(edit && edit->isReadOnly()))
                out.push_back(label);
        }
    }
    return out;
}

bool InsideOtherPage(const QWidget* w, const QWidget* page) {
    for (const QWidget* p = w; p; p = p->parentWidget()) {
        if (p == page)
            return false;
        if (p->property(kPage).toBool())
            return true;
    }
    return false;
}
}  // namespace

QChar MnemonicOf(const QString& text) {
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return text[i + 1].toLower();
    }
    return QChar();
}

void AssignMnemonics(QWidget* client, bool page) {
    QSet<QChar> taken;
    if (page) {
        // A page shares the keys of its window, but not those of the other pages.
        client->setProperty(kPage, true);
        QWidget* window = client->window();
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (w == client || client->isAncestorOf(w) || InsideOtherPage(w, client))
                continue;
            const QChar c = MnemonicOf(TextOfItem(w));
            if (!c.isNull())
                taken.insert(c);
        }
        if (auto* bar = window->findChild<QMenuBar*>()) {
            for (QAction* a : bar->actions()) {
                const QChar c = MnemonicOf(a->text());
                if (!c.isNull())
                    taken.insert(c);
            }
        }
    } else if (auto* bar = client->window()->findChild<QMenuBar*>()) {
        for (QAction* a : bar->actions()) {
            const QChar c = MnemonicOf(a->text());
            if (!c.isNull())
                taken.insert(c);
        }
    }
    Mark(Takers(client), taken);
}

void AssignMenuMnemonics(QWidget* menu) {
    QList<QObject*> items;
    for (QAction* a : menu->actions()) {
        if (!a->isSeparator())
            items.push_back(a);
        if (a->menu())
            AssignMenuMnemonics(a->menu());
    }
    Mark(items, {});
}

QString WithoutAddedMnemonic(const QObject* holder, const QString& shown) {
    const QString letter = holder->property(kAdded).toString();
    if (letter.isEmpty())
        return shown;
    for (int i = 0; i + 1 < shown.size(); ++i) {
        if (shown[i] == QLatin1Char('&') && shown[i + 1].toLower() == letter[0])
            return QString(shown).remove(i, 1);
    }
    return shown;
}

QString WithAddedMnemonic(const QObject* holder, const QString& text) {
    const QString letter = holder->property(kAdded).toString();
    if (letter.isEmpty() || !MnemonicOf(text).isNull())
        return text;
    int at = -1;
    for (int i = 0; i < text.size() && at < 0; ++i) {
        if (text[i].toLower() == letter[0] && (i == 0 || !text[i - 1].isLetterOrNumber()))
            at = i;
    }
    for (int i = 0; i < text.size() && at < 0; ++i) {
        if (text[i].toLower() == letter[0])
            at = i;
    }
    return at < 0 ? text : QString(text).insert(at, QLatin1Char('&'));
}
