// Alt letters for the keyboard: every menu item, button, check box and labelled field gets one,
// distinct within what a key press can reach at once (a window with its menu bar and the page on
// show; each popup menu). A letter that a text already marks with '&' (a translator's choice)
// is kept; the others are given the first free initial of a word, else the first free letter.
// The mark that the framework adds is no part of the control's text: GetWindowText leaves it out.
#pragma once

#include <QAction>
#include <QString>
#include <QWidget>

// Marks the controls of a window's client, or of a page (`page`), that have no letter yet.
void AssignMnemonics(QWidget* client, bool page);
// Marks the items of a popup menu (and of its sub-menus) and the titles of a menu bar.
void AssignMenuMnemonics(QWidget* menu);
// A control's text as the program set it: without the mark the framework added.
QString WithoutAddedMnemonic(const QObject* holder, const QString& shown);
// The text to show for `text` on a control that had a letter: the letter marked again when the
// new text has it (a label whose text the program changes keeps its key).
QString WithAddedMnemonic(const QObject* holder, const QString& text);
// The letter that `text` marks with '&', lower case; a null character for none.
QChar MnemonicOf(const QString& text);
