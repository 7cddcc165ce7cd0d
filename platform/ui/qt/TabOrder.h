// The order Tab moves the focus in: reading order. Controls inside a group box stay together (the
// box takes its place by its corner); regions go top to bottom, then left to right; a tab control
// comes last, so that its page, which follows it in the window, is reached right after its tabs.
#pragma once

#include <QList>
#include <QWidget>

// The client's template controls other than group boxes, in that order.
QList<QWidget*> ReadingOrder(QWidget* client);
void OrderTabChain(QWidget* client);
// Gives the focus to the first enabled control of the client that Tab reaches.
void FocusFirstControl(QWidget* client);
