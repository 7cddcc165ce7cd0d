// The texts brenvo-cli tells a person while it runs, each whole in one place (printf formats), so
// that a translation finds them. Port names, file names and outputs fill their %s and %d; the
// help texts live with the options in CommandLine.cpp. JSON keys and status words are data, not
// texts: see DimmerReport.h.
#pragma once

#include <string>

// printf into a string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Finding the dimmers.
constexpr char kTextNoDimmer[] = "no dimmer found";
constexpr char kTextNoDimmerOn[] = "no dimmer found (%s: no dimmer answers)";
constexpr char kTextBusy[] =
    "the port is busy or not accessible (is Brenvo or another brenvo-cli using it?)";
constexpr char kTextNoAnswer[] = "no dimmer answers";
constexpr char kTextUnknownPort[] = "unknown port %s (brenvo-cli list shows the dimmers)";
constexpr char kTextAmbiguousPort[] = "%s names more than one port (%s): give one of those";
constexpr char kTextUsing[] = "Using %s: %s";
constexpr char kTextExpected[] = "%d dimmers did all that was asked, not the %d expected";

// list and info.
constexpr char kTextListBusy[] = "busy: another program holds it";
constexpr char kTextListNoDimmer[] = "no dimmer answers";
constexpr char kTextListSerial[] = "serial %s";
constexpr char kTextOneOutput[] = "1 output";
constexpr char kTextOutputs[] = "%d outputs";
constexpr char kTextRange[] = "0 to %d";
constexpr char kTextInfoPort[] = "Port:          %s (%s)";
constexpr char kTextInfoCable[] = "configuration cable";
constexpr char kTextInfoSerialPort[] = "serial port";
constexpr char kTextInfoSerial[] = "Serial number: %s";
constexpr char kTextInfoStablePath[] = "Stable path:   %s";
constexpr char kTextInfoName[] = "Name:          %s";
constexpr char kTextInfoModel[] = "Model:         %s";
constexpr char kTextInfoOutputs[] = "Outputs:       %d";
constexpr char kTextInfoRange[] = "Range:         0 to %d";
constexpr char kTextInfoNoTemperature[] = "Temperatures:  none";
constexpr char kTextInfoOneTemperature[] = "Temperatures:  1 reading";
constexpr char kTextInfoTemperatures[] = "Temperatures:  %d readings";
constexpr char kTextInfoStandAlone[] = "StandAlone:    yes";
constexpr char kTextInfoNoStandAlone[] = "StandAlone:    no";

// Outputs.
constexpr char kTextOutputBeyond[] = "Output %d: %s has 1 output";
constexpr char kTextOutputBeyondPlural[] = "Output %d: %s has %d outputs";
constexpr char kTextNotConcerned[] = "Not concerned: it has no %s.";
constexpr char kTextDimmer[] = "the dimmer on %s (%s)";

// Files and values, refused before anything is sent.
constexpr char kTextFileError[] = "%s: %s";
constexpr char kTextNotAFile[] = "%s: not a file";
constexpr char kTextUnreadable[] = "%s: the file could not be read";
constexpr char kTextTooLarge[] = "%s: too large to be a %s (%lld bytes, at most %lld)";
constexpr char kTextAConfigurationFile[] = "configuration file";
constexpr char kTextATableTextFile[] = "table text file";
constexpr char kTextShortTableFile[] =
    "%s: %d table entries where a table text file holds 256, one number per line";
constexpr char kTextNoName[] = "%s: no configuration file (it has no NAME in [DEVICE])";
constexpr char kTextNoTable[] = "%s: no table in it (no section TABLE0 to TABLE11 with a MAX)";
constexpr char kTextSameName[] = "%s and %s are both for the dimmer named %s";
constexpr char kTextTableFileAlone[] = "%s: a table text file goes alone, without other files";
constexpr char kTextTableFileOutputs[] = "%s: a table text file needs the outputs (--output N)";
constexpr char kTextIniRange[] =
    "%s: the table of Output %d has the range 0 to %d, but %s has 0 to %d";
constexpr char kTextEntryBeyond[] =
    "%s: the entry for DMX value %d is %s, beyond the range 0 to %d of %s";
constexpr char kTextFormula[] = "formula %s";
constexpr char kTextFormulaError[] = "formula %s: %s";
constexpr char kTextCurveNeedsValue[] = "curve %s needs its value";
constexpr char kTextCurveTakesNoValue[] = "curve %s takes no value";
constexpr char kTextGamma[] = "gamma %s: not a positive number";
constexpr char kTextNoFileFor[] = "No configuration file given is for this dimmer.";
constexpr char kTextLevel[] = "level %ld: %s takes 0 to %d";

// Results.
constexpr char kTextResult[] = "%s: %s";
constexpr char kTextStopped[] = "Stopped by %s.";
constexpr char kTextWriterNotStarted[] = "cannot start its writer: %s";
constexpr char kTextWriterSilent[] = "The dimmer's writer stopped answering and was ended.";
constexpr char kTextWriterSignal[] = "The dimmer's writer ended with signal %d.";
constexpr char kTextWriterNoResult[] = "The dimmer's writer ended without a result.";
constexpr char kTextWaitFailed[] = "The wait for the dimmer's writer failed: %s.";
constexpr char kTextVerified[] = "Verified: %s.";
constexpr char kTextDiffers[] = "%s differs at DMX value %d (file %u, dimmer %u)";
constexpr char kTextDifferent[] = "Different: %s.";
constexpr char kTextNotRead[] = "Not read: %s.";

// read.
constexpr char kTextReadIniOutputs[] =
    "%s: a configuration file holds every output; --output is for table text files";
constexpr char kTextReadTableOutput[] =
    "%s: a table text file holds one output: give --output N once";
constexpr char kTextRead[] = "Read: %s, saved in %s.";
constexpr char kTextNotSaved[] = "Not read: %s. %s was not saved.";
constexpr char kTextNotSavedStopped[] = "Read: %s. Not read: %s. %s was not saved.";
constexpr char kTextSaveFailed[] = "%s could not be saved: %s";

// set, temp, shutdown-temp.
constexpr char kTextLevelSet[] = "Output %d = %ld";
constexpr char kTextNoTemperature[] = "%s reports no temperature";
constexpr char kTextNoReply[] = "the dimmer does not answer";
constexpr char kTextActual[] = "Actual temperature: %s";
constexpr char kTextShutdown[] = "Shut down temperature: %s";
constexpr char kTextShutdownStored[] = "the dimmer stored %s, not %s";

// standalone.
constexpr char kTextNoStandAlone[] = "%s has no StandAlone programming";
constexpr char kTextNoSceneValue[] = "%s: no value in it to write into the EEPROM";
constexpr char kTextEepromWritten[] = "%lu bytes written to the EEPROM.";
constexpr char kTextEepromPart[] = "%lu of %lu bytes written to the EEPROM.";
constexpr char kTextEepromProgress[] = "%lu of %lu bytes, %s left";

// Progress.
constexpr char kTextWriting[] = "Writing";
constexpr char kTextReading[] = "Reading";
constexpr char kTextProgramming[] = "Programming";
constexpr char kTextTableProgress[] = "Output %d (%d of %d)";
constexpr char kTextRigProgress[] = "%d of %d tables, %d dimmers";

// A second signal.
constexpr char kTextFinishing[] = "Finishing %s: at most %.1f s more, then brenvo-cli stops.";
constexpr char kTextStopping[] = "Stopping.";
constexpr char kTextWorkTable[] = "the table of Output %d on %s";
constexpr char kTextWorkTables[] = "the tables under way on %d dimmers";
constexpr char kTextWorkEeprom[] = "the EEPROM byte under way on %s";
constexpr char kTextWorkShutdown[] = "the shut-down temperature on %s";

// The command line.
constexpr char kTextUnknownCommand[] = "unknown command %s (did you mean %s?)";
constexpr char kTextUnknownCommandNoGuess[] =
    "unknown command %s (brenvo-cli --help lists the commands)";
constexpr char kTextParseError[] = "%s (brenvo-cli --help explains the commands)";
constexpr char kTextExpectNeedsRig[] = "--expect counts the dimmers of --all or of several --port";
