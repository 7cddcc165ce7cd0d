// What brenvo-dimmer tells a person (its help, its errors, its view), marked N_ for the catalogue's
// template, where its texts are in the context "brenvo-dimmer", and shown in the user's language
// once the program has chosen it. Without that choice (the tests' emulators) they stay English.
// The latest commands in the view are the emulator's trace of what arrived, and stay as they are.
#pragma once

#include <string>

#include "platform/os/TextMark.h"

// Chooses the language from the environment, as gettext does; before the threads start.
void SelectDimmerLanguage();
// A text of brenvo-dimmer in the user's language (UTF-8).
std::string DimmerSaid(const char* text);
// printf into a string, of the translation of `format`.
std::string DimmerFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
