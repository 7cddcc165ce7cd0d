// N_ marks a text of the program that a person reads, so that the translation template picks it up
// (xgettext --keyword=N_). The text itself stays as written: the framework translates it where it
// is shown, so that data made with it (a file, a reply, a command line's JSON) never changes.
#pragma once

#define N_(text) text
