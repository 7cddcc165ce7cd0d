// Builds the controls of a dialog template into a client widget, and menus from menu templates.
#pragma once

#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include "platform/ui/Resource.h"

// Creates every control at its converted pixel rectangle, in template order (which is the tab
// order; the first control lies on top, as on Windows).
void BuildControls(QWidget* client, const DialogTemplate& tmpl);
// Adds the popups of the template to the bar.
void BuildMenuBar(QMenuBar* bar, const MenuTemplate& tmpl);
