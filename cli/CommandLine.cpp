#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstring>

#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "cli/ParserTexts.h"
#include "cli/Texts.h"
#include "link/DeviceCommands.h"

namespace {

constexpr const char* kCommandNames[] = {"list",   "info",          "read",      "write",
                                         "verify", "curve",         "reset",     "set",
                                         "temp",   "shutdown-temp", "standalone"};

const char kPortHelp[] =
    N_("Its port as list shows it, its stable path, its USB serial number or COMn. Default: the "
       "first dimmer found (the cable first, then COM1 to COM256).");
const char kPortsHelp[] =
    N_("Its port as list shows it, its stable path, its USB serial number or COMn; again for "
       "more dimmers at once. Default: the first dimmer found (the cable first, then COM1 to "
       "COM256).");
const char kAllHelp[] = N_("Every dimmer that list finds, all at once.");
const char kExpectHelp[] = N_("Exit status 3 unless exactly N dimmers did all of it.");
const char kOutputHelp[] =
    N_("Only output N (again, or N,M,...). Default: every output. A dimmer with none of them is "
       "not concerned.");
const char kQuietHelp[] = N_("Only errors; a dimmer not done is always named.");
const char kJsonHelp[] = N_("One JSON array, an object per dimmer.");
const char kVersionHelp[] = N_("Display program version information and exit");

const char kFooter[] =
    N_("Without --port a command acts on the first dimmer found\n"
       "(the cable first, then COM1 to COM256) and says which on standard error.\n"
       "\n"
       "Ports: CABLEn and EMUn are the emulated cables and serial ports of brenvo-dimmer; real\n"
       "cables and serial ports go by their device (/dev/ttyUSB0), their stable path\n"
       "(/dev/serial/by-id/...) or their USB serial number. COMn numbers the ports: 1 to 32\n"
       "ttyS, 33 to 96 ttyUSB, 97 to 160 ttyACM, 193 to 256 EMUn.\n"
       "\n"
       "Exit status: 0 all done; 1 bad usage or a bad file (nothing sent); 2 no dimmer found\n"
       "or its port busy; 3 a dimmer did not do all of it (its line says what was written,\n"
       "not confirmed and not written); 129, 130, 143 stopped by SIGHUP, SIGINT, SIGTERM after\n"
       "the table under way.\n"
       "\n"
       "Run brenvo-cli COMMAND --help for the options of a command.");

// The explanations that end the help of the longer commands.
const char kReadHelp[] =
    N_("A configuration file (.ini) gets every output and the dimmer's name; a table text file\n"
       "the output given with --output. The file is replaced only once it is complete, and not\n"
       "at all when a table did not arrive.");
const char kWriteHelp[] =
    N_("A configuration file (.ini) is written only to a dimmer of the NAME it was saved for;\n"
       "given several, each dimmer gets the one of its own name. Its tables go to every output,\n"
       "or to those given with --output. A table text file (256 numbers) goes to the outputs\n"
       "given with --output. Values beyond a dimmer's range are refused before anything is\n"
       "sent. The writes stop at the first output that the dimmer does not confirm.");
const char kCurveHelp[] =
    N_("on sets every entry to the top of the range; gamma G makes entry i (i/255)^(1/G) of the\n"
       "range; formula EXPR is a formula in x = 0 to 255, as the window's formula editor reads\n"
       "it (put -- before a formula that starts with a minus sign); a formula whose values leave\n"
       "a dimmer's range is refused. Default: every output.");
const char kStandAloneHelp[] =
    N_("The scene file holds lines of address:value in hexadecimal; it is written byte by byte\n"
       "into the EEPROM plugged into the dimmer (QP models on the configuration cable). A full\n"
       "32 KiB EEPROM takes about six minutes.");

// A command: its one-line summary in the list of commands, its explanation in its own help, and
// the options every command takes.
CLI::App* AddCommand(CLI::App& app, const char* name, const char* summary, const char* explanation,
                     CliRequest& request, bool& quiet) {
    CLI::App* command = app.add_subcommand(name, Said(summary));
    SayCommand(*command);
    command->footer(Said(explanation) + "\n");
    command->add_flag("-q,--quiet", quiet, Said(kQuietHelp));
    command->add_flag("-j,--json", request.json, Said(kJsonHelp));
    return command;
}

void AddPort(CLI::App* command, CliRequest& request) {
    command->add_option("-p,--port", request.ports, Said(kPortHelp))
        ->type_name("PORT")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::Throw);
}

// --port (repeated) or --all, and --expect.
void AddPortsOrAll(CLI::App* command, CliRequest& request) {
    CLI::Option* port = command->add_option("-p,--port", request.ports, Said(kPortsHelp))
                            ->type_name("PORT")
                            ->allow_extra_args(false);
    CLI::Option* all = command->add_flag("-a,--all", request.all, Said(kAllHelp));
    port->excludes(all);
    command->add_option("-e,--expect", request.expect, Said(kExpectHelp))
        ->type_name("N")
        ->check(CLI::Range(0, 1000).description(""));
}

void AddOutputs(CLI::App* command, CliRequest& request) {
    command->add_option("-o,--output", request.outputs, Said(kOutputHelp))
        ->type_name("N")
        ->check(CLI::Range(1, OUTPUT_COUNT_MAX).description(""))
        ->allow_extra_args(false)
        ->delimiter(',');
}

void Define(CLI::App& app, CliRequest& request, bool& quiet) {
    app.name("brenvo-cli");
    SayHelp(app);
    app.footer(Said(kFooter) + "\n");
    app.fallthrough();  // --quiet after the command too
    app.require_subcommand(1);
    app.add_flag("-q,--quiet", quiet, Said(kQuietHelp));
    app.add_flag("-j,--json", request.json, Said(kJsonHelp));
    app.set_version_flag("--version", "brenvo-cli " BRENVO_VERSION, Said(kVersionHelp));

    AddCommand(
        app, "list", N_("Find every connected dimmer."),
        N_("Every configuration cable, then the serial ports, each identified as the window\n"
           "does. One line per port: port, model, outputs, range, serial number, stable path;\n"
           "a cable whose dimmer does not answer says \"no dimmer answers\", a port another\n"
           "program holds says \"busy\". With --json the keys port, link, name, title, model,\n"
           "outputs, range, serial, stablePath and state (dimmer, no-dimmer, busy)."),
        request, quiet);

    CLI::App* info = AddCommand(
        app, "info", N_("Show one dimmer."),
        N_("Port, link, serial number, stable path, name, model, outputs, range, temperature\n"
           "readings, StandAlone programming."),
        request, quiet);
    AddPort(info, request);

    CLI::App* read = AddCommand(app, "read", N_("Read the dimmer's tables into a file."), kReadHelp,
                                request, quiet);
    read->add_option(SaidName(N_("FILE")), request.files, Said(N_("The file to save.")))
        ->required()
        ->expected(1);
    AddPort(read, request);
    AddOutputs(read, request);

    CLI::App* write = AddCommand(
        app, "write", N_("Write configuration files or a table text file to the dimmers."),
        kWriteHelp, request, quiet);
    write
        ->add_option(SaidName(N_("FILE")), request.files,
                     Said(N_("Configuration files, or one table text file.")))
        ->required()
        ->expected(-1);
    write->add_flag("--verify", request.verify,
                    Said(N_("Read the tables back after writing and compare them.")));
    AddPortsOrAll(write, request);
    AddOutputs(write, request);

    CLI::App* verify = AddCommand(
        app, "verify", N_("Compare the dimmers' tables with configuration files or a table file."),
        N_("Reads the tables back and compares them with what write would write: exit status 0\n"
           "when they are equal, 3 naming each output that differs with its first differing\n"
           "entry (DMX value, file, dimmer)."),
        request, quiet);
    verify
        ->add_option(SaidName(N_("FILE")), request.files,
                     Said(N_("Configuration files, or one table text file.")))
        ->required()
        ->expected(-1);
    AddPortsOrAll(verify, request);
    AddOutputs(verify, request);

    CLI::App* curve =
        AddCommand(app, "curve", N_("Write a curve: linear, on, off, gamma G, formula EXPR."),
                   kCurveHelp, request, quiet);
    curve
        ->add_option(SaidName(N_("KIND")), request.curveKind,
                     Said(N_("linear, on, off, gamma or formula.")))
        ->required()
        ->check(CLI::IsMember({"linear", "on", "off", "gamma", "formula"}));
    curve->add_option(SaidName(N_("VALUE")), request.curveValue,
                      Said(N_("The gamma value G or the formula EXPR.")));
    AddPortsOrAll(curve, request);
    AddOutputs(curve, request);

    CLI::App* reset = AddCommand(
        app, "reset", N_("Write the linear curve to every output."),
        N_("As the window's Reset all: the linear curve of the model's range, to every output."),
        request, quiet);
    AddPortsOrAll(reset, request);

    CLI::App* set =
        AddCommand(app, "set", N_("Set the level of an output."),
                   N_("As the output's slider does, without the lookup table."), request, quiet);
    set->add_option(SaidName(N_("OUTPUT")), request.output,
                    Said(N_("The output, 1 to the model's outputs.")))
        ->required()
        ->check(CLI::Range(1, OUTPUT_COUNT_MAX).description(""));
    set->add_option(SaidName(N_("LEVEL")), request.level,
                    Said(N_("The level, 0 to the model's range.")))
        ->required()
        ->check(CLI::Range(0L, 65535L).description(""));
    AddPort(set, request);

    CLI::App* temp = AddCommand(
        app, "temp", N_("Show the temperatures."),
        N_("The actual and the shut-down temperature, as the window shows them (QP models on the\n"
           "configuration cable). With --watch and --json, one object a line with its time."),
        request, quiet);
    temp->add_flag("-w,--watch", request.watch,
                   Said(N_("Show the actual temperature again every second until interrupted.")));
    AddPort(temp, request);

    CLI::App* shutdown = AddCommand(
        app, "shutdown-temp", N_("Show or set the shut-down temperature."),
        N_("Without an option it is read. --set and --default write it and read back what the\n"
           "dimmer then stored (exit status 3 when that is not what was set; QP models on the\n"
           "configuration cable)."),
        request, quiet);
    CLI::Option* celsius =
        shutdown
            ->add_option("-s,--set", request.shutdownCelsius,
                         Said(N_("Set it to CELSIUS degrees (-40 to 520).")))
            ->type_name("CELSIUS")
            ->check(CLI::Range(kShutdownCelsiusMin, kShutdownCelsiusMax).description(""));
    CLI::Option* byDefault =
        shutdown->add_flag("-d,--default", request.shutdownDefault,
                           Said(N_("Set the dimmer's default (no shut-down).")));
    celsius->excludes(byDefault);
    AddPort(shutdown, request);

    CLI::App* standalone =
        AddCommand(app, "standalone", N_("Program a StandAlone scene file into the EEPROM."),
                   kStandAloneHelp, request, quiet);
    standalone->add_option(SaidName(N_("SCENEFILE")), request.files, Said(N_("The scene file.")))
        ->required()
        ->expected(1);
    AddPort(standalone, request);
}

// The first argument that is no option: the command. Global options take no value.
const char* CommandArgument(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] != '-') {
            return argv[i];
        }
        if (std::strcmp(argv[i], "--") == 0) {
            return i + 1 < argc ? argv[i + 1] : nullptr;
        }
    }
    return nullptr;
}

std::size_t Distance(const std::string& a, const std::string& b) {
    // Levenshtein distance, one row at a time.
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0u : 1u)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::string NearestCommand(const std::string& typed) {
    std::string nearest;
    std::size_t best = 3;  // more than two letters away is no guess
    for (const char* name : kCommandNames) {
        const std::size_t distance = Distance(typed, name);
        if (distance < best) {
            best = distance;
            nearest = name;
        }
    }
    // A prefix is a guess too ("stand" for standalone).
    if (nearest.empty() && typed.size() >= 3) {
        for (const char* name : kCommandNames) {
            if (std::strncmp(name, typed.c_str(), typed.size()) == 0) {
                return name;
            }
        }
    }
    return nearest;
}

int ParseCommandLine(int argc, char** argv, CliRequest& request) {
    CLI::App app;
    bool quiet = false;
    Define(app, request, quiet);
    if (argc <= 1) {
        std::fputs(app.help().c_str(), stdout);
        return kExitBadInput;
    }
    if (const char* command = CommandArgument(argc, argv)) {
        const bool known = std::find_if(std::begin(kCommandNames), std::end(kCommandNames),
                                        [command](const char* name) {
                                            return std::strcmp(name, command) == 0;
                                        }) != std::end(kCommandNames);
        if (!known) {
            const std::string nearest = NearestCommand(command);
            Console::Error(
                nearest.empty()
                    ? Format(kTextUnknownCommandNoGuess, Shown(std::string(command)).c_str())
                    : Format(kTextUnknownCommand, Shown(std::string(command)).c_str(),
                             nearest.c_str()));
            return kExitBadInput;
        }
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::fputs(app.help().c_str(), stdout);
        return kExitDone;
    } catch (const CLI::CallForAllHelp&) {
        std::fputs(app.help("", CLI::AppFormatMode::All).c_str(), stdout);
        return kExitDone;
    } catch (const CLI::CallForVersion& version) {
        std::printf("%s\n", version.what());
        return kExitDone;
    } catch (const CLI::ParseError& error) {
        Console::Error(Format(kTextParseError, Shown(SaidParseError(error.what())).c_str()));
        return kExitBadInput;
    }
    Console::SetQuiet(quiet);
    for (const CLI::App* command : app.get_subcommands()) {
        request.command = command->get_name();
    }
    if (request.expect >= 0 && !request.Rig()) {
        Console::Error(Format(kTextParseError, Said(kTextExpectNeedsRig).c_str()));
        return kExitBadInput;
    }
    return -1;
}
