// brenvo-dimmer: plays one dimmer model on a pseudo-terminal, published where Brenvo looks for
// emulated cables and ports, and shows what it receives until Ctrl-C or termination.
#include <signal.h>
#include <unistd.h>

#include <ctime>
#include <iostream>
#include <string>

#include "emulator/DimmerCommandLine.h"
#include "emulator/DimmerEmulator.h"
#include "emulator/DimmerView.h"
#include "emulator/PtyPlayer.h"
#include "link/CableTransport.h"
#include "link/SerialTransport.h"

namespace {
const long REFRESH_NS = 200 * 1000000L;

volatile sig_atomic_t g_stop = 0;

void OnSignal(int) {
    g_stop = 1;
}

void CatchSignals() {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    // A view piped into a reader that has ended must not kill it before it removes its port.
    signal(SIGPIPE, SIG_IGN);
}
}  // namespace

int main(int argc, char** argv) {
    DimmerCommandLine options;
    if (!options.Parse(argc, argv)) {
        std::cerr << "brenvo-dimmer: " << options.Error() << "\n(--help lists the options)\n";
        return 2;
    }
    if (options.help) {
        std::cout << DimmerCommandLine::Usage();
        return 0;
    }
    const DimmerModel& model = *options.model;
    DimmerEmulator dimmer(model);
    dimmer.SetFault(options.fault, options.lateMs);
    if (options.temperatureByte) {
        dimmer.SetTemperatureByte(*options.temperatureByte);
    }
    if (options.rawTemperatures) {
        dimmer.SetRawTemperatures(*options.rawTemperatures);
    }
    if (options.shutdownRaw) {
        dimmer.SetShutdownRaw(*options.shutdownRaw);
    }

    PtyPlayer::Options play;
    const bool cable = model.link == DimmerLink::Cable;
    play.baudRate = options.baudRate ? options.baudRate
                    : cable          ? CABLE_BAUD_RATE
                                     : SERIAL_BAUD_RATE;
    play.publish = cable ? PtyPlayer::Publish::Cable : PtyPlayer::Publish::SerialPort;
    play.description = options.description.empty() ? CABLE_DESCRIPTION : options.description;
    CatchSignals();
    PtyPlayer player(dimmer, play);
    if (!player.Start()) {
        std::cerr << "brenvo-dimmer: cannot publish an emulated "
                  << (cable ? "cable" : "serial port")
                  << " (is XDG_RUNTIME_DIR set, and its brenvo/ports folder yours alone?)\n";
        return 1;
    }
    std::string where = player.PublishedName() + " (" + player.SlavePath() + ")";
    if (!cable) {
        where += ", COM" + std::to_string(player.ComNumber());
    }
    where += ", " + std::to_string(play.baudRate) + " baud";
    const DimmerView view(model, where);
    const std::string published = player.PublishedName();

    // On a terminal the view is redrawn in place; into a file or pipe a frame is written each
    // time something arrived.
    const bool live = isatty(STDOUT_FILENO);
    unsigned shownCommands = ~0u;
    unsigned shownIgnored = ~0u;
    auto show = [&] {
        const DimmerSnapshot state = dimmer.Snapshot();
        if (live || state.commands != shownCommands || state.ignored != shownIgnored) {
            const std::string frame = view.Render(state, dimmer.Fault());
            std::cout << (live ? "\033[H\033[J" : "\n") << frame << std::flush;
            shownCommands = state.commands;
            shownIgnored = state.ignored;
        }
    };
    bool stoppedByHangUp = false;
    while (!g_stop && !stoppedByHangUp) {
        show();
        stoppedByHangUp = player.HasHungUp();
        timespec pause{0, REFRESH_NS};
        nanosleep(&pause, nullptr);  // a signal ends the pause early
    }
    show();  // what arrived since the last frame
    player.Stop();
    std::cout << (stoppedByHangUp ? "brenvo-dimmer: hung up as asked; " : "brenvo-dimmer: ")
              << "stopped, " << published << " removed\n";
    return 0;
}
