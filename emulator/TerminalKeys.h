// Single key presses from the terminal that the program runs on and shows its view on: no Enter,
// no echo, and only while it is the terminal's foreground program. Ctrl-C and the other signal
// keys keep working, and the terminal's settings come back when this ends. A program started by
// another with its output elsewhere (a test, a script) leaves the terminal alone.
#pragma once

#include <termios.h>

class TerminalKeys {
public:
    TerminalKeys();   // takes standard input when both it and standard output are terminals
    ~TerminalKeys();  // restores the terminal
    TerminalKeys(const TerminalKeys&) = delete;
    TerminalKeys& operator=(const TerminalKeys&) = delete;

    bool Active() const { return m_reading; }
    // Waits up to `timeoutMs` for a key (a signal ends the wait early): the key, or -1.
    int Wait(int timeoutMs);

private:
    bool m_taken = false;    // the terminal's settings were changed: restore them
    bool m_reading = false;  // keys can come
    termios m_saved{};
};
