// brenvo-dimmer: plays one dimmer model on a pseudo-terminal, published where Brenvo looks for
// emulated cables and ports, and shows what it receives until Ctrl-C or termination. SIGUSR2 or
// the key u unplugs it and plugs it in again.
#include <signal.h>
#include <unistd.h>

#include <iostream>
#include <string>

#include "emulator/DimmerCommandLine.h"
#include "emulator/DimmerEmulator.h"
#include "emulator/DimmerTexts.h"
#include "emulator/DimmerView.h"
#include "emulator/PtyPlayer.h"
#include "emulator/TerminalKeys.h"
#include "link/CableTransport.h"
#include "link/SerialTransport.h"

namespace {
const int REFRESH_MS = 200;
const char UNPLUG_KEY = 'u';

volatile sig_atomic_t g_stop = 0;
volatile sig_atomic_t g_unplugOrPlug = 0;

void OnStop(int) {
    g_stop = 1;
}

void OnUnplugOrPlug(int) {
    g_unplugOrPlug = 1;
}

void CatchSignals() {
    // No SA_RESTART: a signal ends the view's pause at once.
    struct sigaction action = {};
    sigemptyset(&action.sa_mask);
    action.sa_handler = OnStop;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    action.sa_handler = OnUnplugOrPlug;
    sigaction(SIGUSR2, &action, nullptr);
    // A view piped into a reader that has ended must not kill it before it removes its port.
    signal(SIGPIPE, SIG_IGN);
}

// The published port, its terminal, its COM number and its rate.
std::string Where(const PtyPlayer& player, unsigned baudRate) {
    std::string where = player.PublishedName() + " (" + player.SlavePath() + ")";
    if (player.ComNumber() != 0) {
        where += ", COM" + std::to_string(player.ComNumber());
    }
    return where + ", " + std::to_string(baudRate) + " baud";
}
}  // namespace

int main(int argc, char** argv) {
    SelectDimmerLanguage();
    DimmerCommandLine options;
    if (!options.Parse(argc, argv)) {
        std::cerr << "brenvo-dimmer: " << options.Error() << "\n"
                  << DimmerSaid(N_("(--help lists the options)")) << "\n";
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
    play.serialNumber = options.serialNumber;
    CatchSignals();
    PtyPlayer player(dimmer, play);
    if (!player.Start()) {
        std::cerr << "brenvo-dimmer: "
                  << DimmerSaid(cable ? N_("cannot publish an emulated cable (is XDG_RUNTIME_DIR "
                                           "set, and its brenvo/ports folder yours alone?)")
                                      : N_("cannot publish an emulated serial port (is "
                                           "XDG_RUNTIME_DIR set, and its brenvo/ports folder "
                                           "yours alone?)"))
                  << "\n";
        return 1;
    }
    DimmerView view(model, Where(player, play.baudRate));
    TerminalKeys keys;
    const std::string keyHelp =
        keys.Active()
            ? DimmerFormat(N_("Keys: %c unplugs or plugs in again, Ctrl-C ends"), UNPLUG_KEY) + "\n"
            : std::string();

    // On a terminal the view is redrawn in place; into a file or pipe a frame is written each
    // time something arrived or it was unplugged or plugged in.
    const bool live = isatty(STDOUT_FILENO);
    unsigned shownCommands = ~0u;
    unsigned shownIgnored = ~0u;
    auto show = [&] {
        const DimmerSnapshot state = dimmer.Snapshot();
        if (live || state.commands != shownCommands || state.ignored != shownIgnored) {
            const std::string frame = view.Render(state, dimmer.Fault()) + keyHelp;
            std::cout << (live ? "\033[H\033[J" : "\n") << frame << std::flush;
            shownCommands = state.commands;
            shownIgnored = state.ignored;
        }
    };
    auto unplugOrPlug = [&] {
        if (player.IsPlugged()) {
            player.Unplug();
            view.SetWhere(std::string());
        } else if (player.Plug()) {
            view.SetWhere(Where(player, play.baudRate));
        }
        shownCommands = ~0u;  // a new frame says so
    };
    bool stoppedByHangUp = false;
    while (!g_stop && !stoppedByHangUp) {
        show();
        stoppedByHangUp = player.HasHungUp();
        const int key = keys.Wait(REFRESH_MS);  // a signal ends the wait early
        if (g_unplugOrPlug != 0 || key == UNPLUG_KEY) {
            g_unplugOrPlug = 0;
            unplugOrPlug();
        }
    }
    show();  // what arrived since the last frame
    const std::string published = player.PublishedName();
    player.Stop();
    std::cout << "brenvo-dimmer: "
              << (stoppedByHangUp ? DimmerSaid(N_("hung up as asked; ")) : std::string())
              << (published.empty() ? DimmerSaid(N_("stopped, unplugged"))
                                    : DimmerFormat(N_("stopped, %s removed"), published.c_str()))
              << "\n";
    return 0;
}
