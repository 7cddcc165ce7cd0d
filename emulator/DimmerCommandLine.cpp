#include "emulator/DimmerCommandLine.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "emulator/DimmerTexts.h"
#include "platform/os/DisplayWidth.h"

namespace {
constexpr char kSerialCharacters[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

// A whole decimal number from `min` to `max`; nothing else is accepted.
bool ParseNumber(const std::string& text, long min, long max, long* value) {
    if (text.empty() || text[0] == '+' || text[0] == ' ') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < min || v > max) {
        return false;
    }
    *value = v;
    return true;
}
}  // namespace

bool DimmerCommandLine::Fail(const std::string& text) {
    m_error = text;
    return false;
}

bool DimmerCommandLine::Parse(int argc, const char* const* argv) {
    model = FindDimmerModel("qp1");
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            help = true;
            continue;
        }
        if (i + 1 >= argc) {
            return Fail(option.rfind("--", 0) == 0
                            ? DimmerFormat(N_("%s needs a value"), option.c_str())
                            : DimmerFormat(N_("unknown argument %s"), option.c_str()));
        }
        const std::string value = argv[++i];
        long number = 0;
        if (option == "--model") {
            model = FindDimmerModel(value);
            if (!model) {
                return Fail(DimmerFormat(N_("unknown model %s"), value.c_str()));
            }
        } else if (option == "--fault") {
            if (!DimmerEmulator::ParseFault(value, &fault)) {
                return Fail(DimmerFormat(N_("unknown fault %s"), value.c_str()));
            }
        } else if (option == "--late-ms") {
            if (!ParseNumber(value, 0, 60000, &number)) {
                return Fail(DimmerSaid(N_("--late-ms takes 0 to 60000")));
            }
            lateMs = static_cast<unsigned>(number);
        } else if (option == "--temperature") {
            if (!ParseNumber(value, 0, 255, &number)) {
                return Fail(DimmerSaid(
                    N_("--temperature takes 0 to 255 (128 and above: no valid reading)")));
            }
            temperatureByte = static_cast<BYTE>(number);
        } else if (option == "--raw-temperatures") {
            DimmerRawTemperatures raw{};
            std::size_t start = 0;
            for (std::size_t k = 0; k < raw.size(); ++k) {
                const std::size_t comma = value.find(',', start);
                const bool last = k + 1 == raw.size();
                if (last != (comma == std::string::npos) ||
                    !ParseNumber(value.substr(start, comma - start), 0, 65535, &number)) {
                    return Fail(DimmerSaid(
                        N_("--raw-temperatures takes four numbers 0 to 65535, a,b,c,d")));
                }
                raw[k] = static_cast<WORD>(number);
                start = comma + 1;
            }
            rawTemperatures = raw;
        } else if (option == "--shutdown-raw") {
            if (!ParseNumber(value, 0, 65535, &number)) {
                return Fail(DimmerSaid(N_("--shutdown-raw takes 0 to 65535")));
            }
            shutdownRaw = static_cast<WORD>(number);
        } else if (option == "--baud") {
            if (!ParseNumber(value, 300, 4000000, &number)) {
                return Fail(DimmerSaid(N_("--baud takes 300 to 4000000")));
            }
            baudRate = static_cast<unsigned>(number);
        } else if (option == "--description") {
            if (value.empty() || value.size() >= 64) {
                return Fail(DimmerSaid(N_("--description takes 1 to 63 characters")));
            }
            description = value;
        } else if (option == "--serial") {
            // As a cable's driver holds it: up to 15 characters, and printable ones only, as
            // they name the cable on a command line.
            if (value.empty() || value.size() > 15 ||
                value.find_first_not_of(kSerialCharacters) != std::string::npos) {
                return Fail(DimmerSaid(N_("--serial takes 1 to 15 letters, digits, '-' or '_'")));
            }
            serialNumber = value;
        } else {
            return Fail(DimmerFormat(N_("unknown option %s"), option.c_str()));
        }
    }
    if (!description.empty() && model->link != DimmerLink::Cable) {
        return Fail(DimmerSaid(N_("--description is for the cable models only")));
    }
    return true;
}

std::string DimmerCommandLine::Usage() {
    std::string text = DimmerSaid(
        N_("Usage: brenvo-dimmer [--model MODEL] [options]\n"
           "Plays a dimmer on a pseudo-terminal, published for Brenvo as an emulated cable\n"
           "(CABLEn) or serial port (EMUn) in $XDG_RUNTIME_DIR/brenvo/ports, and shows what it\n"
           "receives. Ctrl-C ends it and removes the port.\n\nModels (default qp1):"));
    text += "\n";
    const std::string cable = DimmerSaid(N_("cable"));
    const std::string serial = DimmerSaid(N_("serial"));
    const std::size_t linkWidth = std::max(DisplayWidth(cable), DisplayWidth(serial));
    for (const DimmerModel& m : DimmerModels()) {
        text += "  " + PaddedTo(m.name, 14) +
                PaddedTo(m.link == DimmerLink::Cable ? cable : serial, linkWidth) + "  " +
                (m.outputs == 1 ? DimmerFormat(N_("1 output, identifies as \"%s\""), m.identifyText)
                                : DimmerFormat(N_("%d outputs, identifies as \"%s\""), m.outputs,
                                               m.identifyText)) +
                "\n";
    }
    text += DimmerSaid(
        N_("\nOptions:\n"
           "  --fault F               none, silent, short, garbage, late, no-confirm, hang-up\n"
           "  --late-ms N             delay of every reply with --fault late (default 300)\n"
           "  --temperature C         one-byte temperature in degrees Celsius, 0 to 255\n"
           "                          (128 and above report no valid reading)\n"
           "  --raw-temperatures a,b,c,d   the four raw readings of the QP4 (above 768: none)\n"
           "  --shutdown-raw N        raw shut-down temperature (default 583, about 85 C)\n"
           "  --baud N                reply pacing (default 19200 cable, 115200 serial)\n"
           "  --description TEXT      the description a cable model reports\n"
           "  --serial TEXT           the USB serial number it reports (published beside its\n"
           "                          port; a cable without one reports its CABLEn name)\n"
           "  -h, --help              this text\n"
           "\nWhile it runs, the key u on its terminal or the signal SIGUSR2 (kill -USR2 PID)\n"
           "unplugs it: its port is removed and the program using it sees a hang-up. The same\n"
           "again plugs it in: a new pseudo-terminal, published as the first free name, with the\n"
           "dimmer's state kept."));
    return text + "\n";
}
