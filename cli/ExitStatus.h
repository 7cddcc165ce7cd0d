// The exit statuses of brenvo-cli, the part of its interface that scripts test.
#pragma once

enum ExitStatus {
    kExitDone = 0,        // everything asked was done
    kExitBadInput = 1,    // bad usage or a bad file: nothing was sent
    kExitNoDimmer = 2,    // no dimmer found (or its port is busy)
    kExitIncomplete = 3,  // a dimmer did not do all of it
    // Stopped by a signal after the sequence under way: 128 + the signal (Interruption).
};
