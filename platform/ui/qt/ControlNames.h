// What a screen reader says for a control, taken from the dialog template so that a name and its
// translation are written once. A label names the field it stands before (its buddy, which its
// mnemonic also reaches); a control that shows no text of its own is named by its template text,
// where "%s" stands for its label or, without one, for the caption of the page it is on; what is
// left is named after its group box.
#pragma once

#include <QLabel>
#include <QWidget>

#include "platform/ui/Resource.h"

// Records the template facts that names are made from (kind and name text) on a built control.
void MarkTemplateControl(QWidget* control, const DialogItemTemplate& item);
// Links each label to the field it stands before: the nearest field to its right on its line, else
// the one right below it.
void LinkLabels(QWidget* client);
// Sets the accessible names of the client's controls from their labels, templates and page.
void RefreshControlNames(QWidget* client);
// A label's text as a name: without its mnemonic mark, its closing colon and a closing
// parenthesised part (the value a label may show, which the control itself reports).
QString NameFromLabel(const QString& text);
// The template kind recorded on a control; -1 for none.
int TemplateKind(const QWidget* control);
