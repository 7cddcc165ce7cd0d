#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

#include "cli/Console.h"
#include "cli/ExitStatus.h"
#include "link/DeviceCommands.h"

namespace {

const char kPortHelp[] =
    "The dimmer's port as list shows it (CABLE0, EMU0, /dev/ttyUSB0) or COMn. Default: the one "
    "the window would find.";
const char kAllHelp[] = "Every dimmer that list finds, all at once.";
const char kOutputHelp[] =
    "Only output N (repeat it, or N,M,...). Default: every output of the model.";

const char kFooter[] =
    "Ports: CABLEn and EMUn are the emulated cables and serial ports of brenvo-dimmer; real\n"
    "cables and serial ports go by their device (/dev/ttyUSB0). COMn names a port as the\n"
    "window counts them.\n"
    "\n"
    "Exit status: 0 all done; 1 bad usage or a bad file (nothing sent); 2 no dimmer found\n"
    "or its port busy; 3 a dimmer did not do all of it (its line says what was written,\n"
    "not confirmed and not written).\n"
    "\n"
    "Run brenvo-cli COMMAND --help for the options of a command.";

// A command: its one-line summary in the list of commands, its explanation in its own help.
CLI::App* AddCommand(CLI::App& app, const char* name, const char* summary,
                     const char* explanation) {
    CLI::App* command = app.add_subcommand(name, summary);
    command->footer(std::string(explanation) + "\n");
    return command;
}

void AddPort(CLI::App* command, CliRequest& request) {
    command->add_option("-p,--port", request.port, kPortHelp)->type_name("PORT");
}

// --port or --all.
void AddPortOrAll(CLI::App* command, CliRequest& request) {
    CLI::Option* port = command->add_option("-p,--port", request.port, kPortHelp);
    port->type_name("PORT");
    CLI::Option* all = command->add_flag("-a,--all", request.all, kAllHelp);
    port->excludes(all);
}

void AddOutputs(CLI::App* command, CliRequest& request) {
    command->add_option("-o,--output", request.outputs, kOutputHelp)
        ->type_name("N")
        ->check(CLI::Range(1, OUTPUT_COUNT_MAX).description(""))
        ->allow_extra_args(false)
        ->delimiter(',');
}

void AddJson(CLI::App* command, CliRequest& request, const char* help) {
    command->add_flag("-j,--json", request.json, help);
}

void Define(CLI::App& app, CliRequest& request, bool& quiet) {
    app.name("brenvo-cli");
    app.footer(std::string(kFooter) + "\n");
    app.fallthrough();  // --quiet after the command too
    app.require_subcommand(1);
    app.add_flag("-q,--quiet", quiet, "Only errors: no results, notes or progress bar.");
    app.set_version_flag("--version", "brenvo-cli " BRENVO_VERSION);

    CLI::App* list = AddCommand(
        app, "list", "Find every connected dimmer.",
        "Every configuration cable, then the serial ports, each identified as the window does.\n"
        "One line per dimmer: port, model, outputs, range.");
    AddJson(list, request,
            "One JSON array of objects with the keys port, link, name, title, outputs, range.");

    CLI::App* info = AddCommand(
        app, "info", "Show one dimmer.",
        "Port, link, name, model, outputs, range, temperature readings, StandAlone programming.");
    AddPort(info, request);
    AddJson(info, request, "One JSON object.");

    CLI::App* read = AddCommand(
        app, "read", "Read the dimmer's tables into a file.",
        "A configuration file (.ini) gets every output and the dimmer's name; a table text file\n"
        "the output given with --output. The file is replaced only once it is complete, and not\n"
        "at all when a table did not arrive.");
    read->add_option("FILE", request.file, "The file to save.")->required();
    AddPort(read, request);
    AddOutputs(read, request);

    CLI::App* write = AddCommand(
        app, "write", "Write a configuration file or a table text file to the dimmer.",
        "A configuration file (.ini) must have been saved for this dimmer; its tables go to every\n"
        "output, or to those given with --output. A table text file (256 numbers) goes to the\n"
        "outputs given with --output. The writes stop at the first output that the dimmer does\n"
        "not confirm.");
    write->add_option("FILE", request.file, "The configuration file or table text file.")
        ->required();
    AddPortOrAll(write, request);
    AddOutputs(write, request);

    CLI::App* curve = AddCommand(
        app, "curve", "Write a curve: linear, on, off, gamma G, formula EXPR.",
        "on sets every entry to the top of the range; gamma G makes entry i (i/255)^(1/G) of the\n"
        "range; formula EXPR is a formula in x = 0 to 255, as the window's formula editor reads\n"
        "it (put -- before a formula that starts with a minus sign). Default: every output.");
    curve->add_option("KIND", request.curveKind, "linear, on, off, gamma or formula.")
        ->required()
        ->check(CLI::IsMember({"linear", "on", "off", "gamma", "formula"}));
    curve->add_option("VALUE", request.curveValue, "The gamma value G or the formula EXPR.");
    AddPortOrAll(curve, request);
    AddOutputs(curve, request);

    CLI::App* reset = AddCommand(
        app, "reset", "Write the linear curve to every output.",
        "As the window's Reset all: the linear curve of the model's range, to every output.");
    AddPortOrAll(reset, request);

    CLI::App* set = AddCommand(app, "set", "Set the level of an output.",
                               "As the output's slider does, without the lookup table.");
    set->add_option("OUTPUT", request.output, "The output, 1 to the model's outputs.")
        ->required()
        ->check(CLI::Range(1, OUTPUT_COUNT_MAX).description(""));
    set->add_option("LEVEL", request.level, "The level, 0 to the model's range.")
        ->required()
        ->check(CLI::Range(0L, 65535L).description(""));
    AddPort(set, request);

    CLI::App* temp = AddCommand(
        app, "temp", "Show the temperatures.",
        "The actual and the shut-down temperature, as the window shows them (QP models on the\n"
        "configuration cable).");
    temp->add_flag("-w,--watch", request.watch,
                   "Show the actual temperature again every second until interrupted.");
    AddPort(temp, request);
    AddJson(temp, request,
            "One JSON object (one per line with --watch) with the texts and the degrees.");

    CLI::App* shutdown = AddCommand(
        app, "shutdown-temp", "Show or set the shut-down temperature.",
        "Without an option it is read. --set and --default write it and read back what the\n"
        "dimmer then reports (QP models on the configuration cable).");
    CLI::Option* celsius =
        shutdown
            ->add_option("-s,--set", request.shutdownCelsius,
                         "Set it to CELSIUS degrees (-40 to 520).")
            ->type_name("CELSIUS")
            ->check(CLI::Range(kShutdownCelsiusMin, kShutdownCelsiusMax).description(""));
    CLI::Option* byDefault = shutdown->add_flag("-d,--default", request.shutdownDefault,
                                                "Set the dimmer's default (no shut-down).");
    celsius->excludes(byDefault);
    AddPort(shutdown, request);

    CLI::App* standalone = AddCommand(
        app, "standalone", "Program a StandAlone scene file into the EEPROM.",
        "The scene file holds lines of address:value in hexadecimal; it is written byte by byte\n"
        "into the EEPROM plugged into the dimmer (QP models on the configuration cable). A full\n"
        "32 KiB EEPROM takes about six minutes.");
    standalone->add_option("SCENEFILE", request.file, "The scene file.")->required();
    AddPort(standalone, request);
}

}  // namespace

int ParseCommandLine(int argc, char** argv, CliRequest& request) {
    CLI::App app;
    bool quiet = false;
    Define(app, request, quiet);
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
        Console::Error(std::string(error.what()) + " (brenvo-cli --help explains the commands)");
        return kExitBadInput;
    }
    Console::SetQuiet(quiet);
    for (const CLI::App* command : app.get_subcommands()) {
        request.command = command->get_name();
    }
    return -1;
}
