// Brenvo's windows in English and in German: the texts a person reads, the Alt letters, the Tab
// order and what a screen reader says for each control.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSlider>
#include <QTabBar>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/CDlgChooseDimmer.h"
#include "platform/os/UserLanguage.h"
#include "platform/ui/AfxFunctions.h"
#include "platform/ui/CFileDialog.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CTabCtrl.h"
#include "platform/ui/qt/Mnemonics.h"
#include "platform/ui/qt/QtText.h"
#include "tables/TransferReport.h"
#include "tests/resources/BrenvoWindows.h"
#include "tests/support/InLanguage.h"

namespace {

std::string Shown(const char* text) {
    return ShownText(text);
}

std::string TextOf(CWnd& control) {
    CString text;
    control.GetWindowText(text);
    return text.GetString();
}

QString NameOf(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

QWidget* Control(CDialog& dialog, UINT id) {
    CWnd* c = dialog.GetDlgItem(static_cast<int>(id));
    return c ? WidgetOf(c->m_hWnd) : nullptr;
}

// English, and every language the build has a catalogue for.
std::vector<std::string> Languages() {
    std::vector<std::string> out = {""};
    QDir dir(QStringLiteral(BRENVO_LOCALE_DIR));
    for (const QString& language : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (dir.exists(language + QStringLiteral("/LC_MESSAGES/brenvo.mo")))
            out.push_back(language.toStdString());
    }
    return out;
}
const std::vector<std::string> kLanguages = Languages();

}  // namespace

TEST(WindowLanguage, EveryTemplateTextMenuTabAndColumnIsShownInTheUsersLanguage) {
    for (const std::string& languageName : kLanguages) {
        const char* language = languageName.c_str();
        SCOPED_TRACE(std::string("language ") + language);
        InLanguage in(language);
        int differs = 0;
        ForEachBrenvoWindow([&](const ShownWindow& w) {
            SCOPED_TRACE(testing::Message() << "template " << w.templateId);
            const DialogTemplate* t = AfxFindDialogTemplate(w.templateId);
            ASSERT_NE(t, nullptr);
            CDialog& dialog = w.page ? *w.page : w.window;
            if (!w.page && t->caption) {
                EXPECT_EQ(TextOf(dialog), Shown(t->caption));
            }
            for (int i = 0; i < t->itemCount; ++i) {
                const DialogItemTemplate& item = t->items[i];
                if (item.id == IDC_STATIC || !item.text || item.kind == ControlKind::Edit)
                    continue;
                CWnd* control = dialog.GetDlgItem(static_cast<int>(item.id));
                ASSERT_NE(control, nullptr);
                const bool showsText =
                    item.kind == ControlKind::PushButton || item.kind == ControlKind::CheckBox ||
                    item.kind == ControlKind::Static || item.kind == ControlKind::GroupBox;
                if (showsText) {
                    EXPECT_EQ(TextOf(*control), Shown(item.text)) << item.text;
                    differs += Shown(item.text) != item.text;
                }
            }
            for (QLabel* label : WidgetOf(dialog.m_hWnd)->findChildren<QLabel*>()) {
                // Labels without an id: each shows the translation of a template text.
                const std::string text =
                    FromQString(label->text().remove(QLatin1Char('&'))).GetString();
                bool known = text.empty();
                for (int i = 0; i < t->itemCount && !known; ++i)
                    known = t->items[i].text && Shown(t->items[i].text) == text;
                EXPECT_TRUE(known) << "a label shows " << text;
            }
        });
        if (*language) {
            EXPECT_GT(differs, 15) << "the German window shows German texts";
        }

        ForEachBrenvoWindow([&](const ShownWindow& w) {
            if (w.templateId != IDD_TABLE)
                return;
            CTabCtrl* tabs = static_cast<CTabCtrl*>(w.window.GetDlgItem(IDC_TAB));
            EXPECT_EQ(std::string(tabs->GetItemText(0)), Shown("Output 2"));
            CMenu* menu = w.window.GetMenu();
            ASSERT_NE(menu, nullptr);
            const MenuTemplate* bar = AfxFindMenuTemplate(IDR_MENU);
            for (int p = 0; p < bar->itemCount; ++p) {
                for (int i = 0; i < bar->items[p].popupCount; ++i) {
                    const MenuItemTemplate& item = bar->items[p].popup[i];
                    if (!item.text)
                        continue;
                    CString text;
                    menu->GetMenuString(item.id, text, MF_BYCOMMAND);
                    // The shortcut after the tab is shown beside the item, not in its text.
                    const std::string want = Shown(item.text);
                    EXPECT_EQ(std::string(text), want.substr(0, want.find('\t')));
                }
            }
        });
    }
}

TEST(WindowLanguage, MessagesAndFileFiltersAreShownInTheUsersLanguage) {
    InLanguage in("de");
    ScriptedUi ui;
    ui.ExpectMessageBox(IDOK);
    AfxMessageBox(BulkNotConfirmedText(3, 4, true), MB_OK);
    ui.ExpectFileDialogCancel();
    CFileDialog open(TRUE, ".hex", "StandAlone.hex", 0,
                     "HEX Files (*.hex)|*.hex|All Files (*.*)|*.*||");
    open.DoModal();
    const auto boxes = ui.CallsOf(ScriptedUi::Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(std::string(boxes[0].text),
              "Der Dimmer hat die Tabelle von Ausgang 3 nicht best\xE4tigt.\n"
              "Die Verbindung zum Dimmer ist unterbrochen.\n\n"
              "Geschrieben: Ausgang 1 bis 2.\nNicht best\xE4tigt: Ausgang 3.\n"
              "Nicht geschrieben: Ausgang 4.");
    const auto files = ui.CallsOf(ScriptedUi::Kind::FileDialog);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(std::string(files[0].caption), "HEX-Dateien (*.hex)|*.hex|Alle Dateien (*.*)|*.*||");
}

// Choose dimmer's list: the mark of the dimmer in use is a text, shown whole.
TEST(WindowLanguage, TheDimmerInUseIsMarkedInTheUsersLanguage) {
    AfxSetResourceSet(&BrenvoResources());
    for (const std::string& language : kLanguages) {
        SCOPED_TRACE("language " + language);
        InLanguage in(language.c_str());
        if (!language.empty()) {
            EXPECT_NE(Shown("in use"), "in use");
        }
        std::vector<FoundDimmer> dimmers(2);
        dimmers[0].port.name = "CABLE0";
        dimmers[1].port.name = "EMU0";
        ScriptedUi ui;
        CDlgChooseDimmer dialog(dimmers, 1);
        ui.ExpectModal(
            [&](CDialog& shown) {
                CListCtrl& list = static_cast<CDlgChooseDimmer&>(shown).m_listDimmers;
                EXPECT_EQ(std::string(list.GetItemText(1, 0)), Shown("in use"));
                const QWidget* view = Control(shown, IDC_DIMMER_LIST);
                EXPECT_GT(list.GetColumnWidth(0),
                          QFontMetrics(view->font()).horizontalAdvance(ShownQString("in use")))
                    << "the mark is cut off";
                shown.EndDialog(IDCANCEL);
            },
            IDD_CHOOSE_DIMMER);
        dialog.DoModal();
    }
}

TEST(KeyboardAccess, EveryButtonMenuItemAndLabelledFieldHasADistinctAltLetter) {
    for (const std::string& languageName : kLanguages) {
        const char* language = languageName.c_str();
        SCOPED_TRACE(std::string("language ") + language);
        InLanguage in(language);
        ForEachBrenvoWindow([&](const ShownWindow& w) {
            SCOPED_TRACE(testing::Message() << "template " << w.templateId);
            std::map<QChar, QString> used;
            auto take = [&](const QString& text) {
                const QChar letter = MnemonicOf(text);
                EXPECT_FALSE(letter.isNull()) << text.toStdString() << " has no Alt letter";
                if (letter.isNull())
                    return;
                EXPECT_TRUE(used.emplace(letter, text).second)
                    << text.toStdString() << " and " << used[letter].toStdString() << " share "
                    << QString(letter).toStdString();
            };
            QWidget* top = w.Top();
            if (auto* bar = top->findChild<QMenuBar*>()) {
                for (QAction* a : bar->actions()) {
                    take(a->text());
                    std::set<QChar> inMenu;
                    for (QAction* item : a->menu()->actions()) {
                        if (item->isSeparator())
                            continue;
                        const QChar letter = MnemonicOf(item->text());
                        EXPECT_FALSE(letter.isNull()) << item->text().toStdString();
                        EXPECT_TRUE(inMenu.insert(letter).second) << item->text().toStdString();
                    }
                }
            }
            for (QWidget* c : top->findChildren<QWidget*>()) {
                if (!c->isVisibleTo(top))
                    continue;  // another page: its keys do not act
                if (auto* b = qobject_cast<QAbstractButton*>(c);
                    b && !b->inherits("QToolButton") && !b->text().isEmpty())
                    take(b->text());
                auto* l = qobject_cast<QLabel*>(c);
                auto* field = l ? qobject_cast<QLineEdit*>(l->buddy()) : nullptr;
                if (l && l->buddy() && !l->buddy()->inherits("QSlider") &&
                    !(field && field->isReadOnly()))
                    take(l->text());
            }
        });
    }
}

TEST(KeyboardAccess, TabFollowsReadingOrderAndThePageFollowsItsTabs) {
    ForEachBrenvoWindow([&](const ShownWindow& w) {
        QApplication::processEvents();
        if (w.templateId == IDD_GAMMA || w.templateId == IDD_FORMEL) {
            // A dialog opens with the focus on its first field: typing goes there.
            EXPECT_EQ(w.Top()->focusWidget(),
                      Control(w.window, w.templateId == IDD_GAMMA ? IDC_GAMMA : IDC_FORMULA));
        }
        if (w.templateId != IDD_TABLE)
            return;
        CDialog& main = w.window;
        CDialog& page = *w.page;
        // The chain as Tab walks it, over the controls that take Tab.
        std::vector<QWidget*> chain;
        QWidget* start = Control(main, IDC_SLIDER_ROW1);
        QWidget* at = start;
        do {
            if (at->focusPolicy() & Qt::TabFocus)
                chain.push_back(at);
            at = at->nextInFocusChain();
        } while (at != start && chain.size() < 100);
        QTabBar* bar = Control(main, IDC_TAB)->findChild<QTabBar*>();
        const std::vector<QWidget*> expected = {
            Control(main, IDC_SLIDER_ROW1),  Control(main, IDC_SLIDER_ROW2),
            Control(main, IDC_SLIDER_ROW3),  Control(main, IDC_SLIDER_ROW4),
            Control(main, IDC_LOOKUP_8BIT),  Control(main, IDC_SHUTDOWN_TEMP),
            Control(main, IDC_TEMP_READ),    Control(main, IDC_TEMP_WRITE),
            Control(main, IDC_TEMP_DEFAULT), bar,
            Control(page, IDC_TABLE_LIST),   Control(page, IDC_VALUE),
            Control(page, IDC_TABLE_COPY),   Control(page, IDC_TABLE_PASTE),
            Control(page, IDC_TABLE_READ),   Control(page, IDC_PREDEFINES),
            Control(page, IDC_TABLE_WRITE),
        };
        ASSERT_GE(chain.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(chain[i], expected[i])
                << "place " << i << ": " << chain[i]->metaObject()->className() << " "
                << NameOf(chain[i]).toStdString();
        }
    });
}

TEST(ScreenReader, EveryFocusableControlIsNamedFromItsTemplateInBothLanguages) {
    for (const std::string& languageName : kLanguages) {
        const char* language = languageName.c_str();
        SCOPED_TRACE(std::string("language ") + language);
        InLanguage in(language);
        ForEachBrenvoWindow([&](const ShownWindow& w) {
            SCOPED_TRACE(testing::Message() << "template " << w.templateId);
            for (QWidget* c : w.Top()->findChildren<QWidget*>()) {
                // A tab bar is named after its current tab: the bare template has none.
                auto* bar = qobject_cast<QTabBar*>(c);
                if (c->focusPolicy() == Qt::NoFocus || qobject_cast<QMenuBar*>(c) ||
                    c->parent()->inherits("QAbstractScrollArea") || (bar && bar->count() == 0))
                    continue;
                EXPECT_FALSE(NameOf(c).isEmpty()) << c->metaObject()->className();
            }
        });
    }
    struct Named {
        UINT id;
        bool onPage;
        const char* english;
        const char* german;
    };
    const Named kNames[] = {
        {IDC_SLIDER_ROW3, false, "Output 3 level", "Pegel von Ausgang 3"},
        {IDC_SHUTDOWN_TEMP, false, "Shut down temperature", "Abschalttemperatur"},
        {IDC_ACTUAL_TEMP, false, "Actual temperature", "Aktuelle Temperatur"},
        {IDC_SCROLL_OUTPUTS, false, "Outputs shown", "Angezeigte Ausg\xC3\xA4nge"},
        {IDC_PROGRESS, false, "Progress", "Fortschritt"},
        {IDC_CURVE, true, "Curve of Output 2", "Kurve von Ausgang 2"},
        {IDC_TABLE_LIST, true, "Table of Output 2", "Tabelle von Ausgang 2"},
        {IDC_VALUE, true, "Value", "Wert"},
        {IDC_PREDEFINES, true, "Predefined curves", "Vorgaben"},
    };
    for (const char* language : {"", "de"}) {
        InLanguage in(language);
        ForEachBrenvoWindow([&](const ShownWindow& w) {
            if (w.templateId != IDD_TABLE)
                return;
            for (const Named& n : kNames) {
                QWidget* c = Control(n.onPage ? *w.page : w.window, n.id);
                ASSERT_NE(c, nullptr);
                EXPECT_EQ(NameOf(c).toStdString(), *language ? n.german : n.english);
            }
            // A slider's name follows its label, which follows the scroll bar and the level.
            w.window.SetDlgItemText(IDC_LABEL_OUTPUT3, "Output 7 (=512):");
            EXPECT_EQ(NameOf(Control(w.window, IDC_SLIDER_ROW3)).toStdString(),
                      *language ? "Pegel von Ausgang 7" : "Output 7 level");
        });
    }
}
