// The texts brenvo-cli tells a person while it runs, each whole in one place (printf formats), so
// that a translation finds them: marked N_ for the catalogue's template, where they are in the
// context "brenvo-cli", and shown in the user's language. Port names, file names and outputs fill
// their %s and %d; the help texts live with the options in CommandLine.cpp. JSON keys and status
// words are data, not texts: see DimmerReport.h.
#pragma once

#include <string>

#include "platform/os/TextMark.h"

// Chooses the language of the texts from the environment (as gettext does), once, before any
// other thread starts; the texts are then looked up without a lock, in a forked writer too.
void SelectCliLanguage();
// A text of brenvo-cli in the user's language (UTF-8): its translation, or the text itself.
std::string Said(const char* text);
// A text made by the code brenvo-cli shares with the window (an output range, the link lost, a
// reason the system gives), in the user's language as the window shows it; UTF-8.
std::string SaidShared(const std::string& text);
// printf into a string, of the translation of `format`. A translation whose conversions differ
// from the format's is not used: the arguments are the format's.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Finding the dimmers.
constexpr char kTextNoDimmer[] = N_("no dimmer found");
constexpr char kTextNoDimmerOn[] = N_("no dimmer found (%s: no dimmer answers)");
constexpr char kTextBusy[] =
    N_("the port is busy or not accessible (is Brenvo or another brenvo-cli using it?)");
constexpr char kTextNoAnswer[] = N_("no dimmer answers");
constexpr char kTextUnknownPort[] = N_("unknown port %s (brenvo-cli list shows the dimmers)");
constexpr char kTextAmbiguousPort[] = N_("%s names more than one port (%s): give one of those");
constexpr char kTextUsing[] = N_("Using %s: %s");
constexpr char kTextExpected[] = N_("%d dimmers did all that was asked, not the %d expected");

// list and info.
constexpr char kTextListBusy[] = N_("busy: another program holds it");
constexpr char kTextListNoDimmer[] = N_("no dimmer answers");
constexpr char kTextListSerial[] = N_("serial %s");
constexpr char kTextOneOutput[] = N_("1 output");
constexpr char kTextOutputs[] = N_("%d outputs");
constexpr char kTextRange[] = N_("0 to %d");
// info's rows: the tab stands where the values start, in one column for all rows.
constexpr char kTextInfoPort[] = N_("Port:\t%s (%s)");
constexpr char kTextInfoCable[] = N_("configuration cable");
constexpr char kTextInfoSerialPort[] = N_("serial port");
constexpr char kTextInfoSerial[] = N_("Serial number:\t%s");
constexpr char kTextInfoStablePath[] = N_("Stable path:\t%s");
constexpr char kTextInfoName[] = N_("Name:\t%s");
constexpr char kTextInfoModel[] = N_("Model:\t%s");
constexpr char kTextInfoOutputs[] = N_("Outputs:\t%d");
constexpr char kTextInfoRange[] = N_("Range:\t0 to %d");
constexpr char kTextInfoNoTemperature[] = N_("Temperatures:\tnone");
constexpr char kTextInfoOneTemperature[] = N_("Temperatures:\t1 reading");
constexpr char kTextInfoTemperatures[] = N_("Temperatures:\t%d readings");
constexpr char kTextInfoStandAlone[] = N_("StandAlone:\tyes");
constexpr char kTextInfoNoStandAlone[] = N_("StandAlone:\tno");
constexpr const char* kInfoRows[] = {
    kTextInfoPort,           kTextInfoSerial,       kTextInfoStablePath, kTextInfoName,
    kTextInfoModel,          kTextInfoOutputs,      kTextInfoRange,      kTextInfoNoTemperature,
    kTextInfoOneTemperature, kTextInfoTemperatures, kTextInfoStandAlone, kTextInfoNoStandAlone};

// Outputs.
constexpr char kTextOutputBeyond[] = N_("Output %d: %s has 1 output");
constexpr char kTextOutputBeyondPlural[] = N_("Output %d: %s has %d outputs");
constexpr char kTextNotConcerned[] = N_("Not concerned: it has no %s.");
constexpr char kTextDimmer[] = N_("the dimmer on %s (%s)");

// Files and values, refused before anything is sent.
constexpr char kTextFileError[] = N_("%s: %s");
constexpr char kTextNotAFile[] = N_("%s: not a file");
constexpr char kTextUnreadable[] = N_("%s: the file could not be read");
constexpr char kTextTooLarge[] = N_("%s: too large to be a %s (%lld bytes, at most %lld)");
constexpr char kTextAConfigurationFile[] = N_("configuration file");
constexpr char kTextATableTextFile[] = N_("table text file");
constexpr char kTextShortTableFile[] =
    N_("%s: %d table entries where a table text file holds 256, one number per line");
constexpr char kTextNoName[] = N_("%s: no configuration file (it has no NAME in [DEVICE])");
constexpr char kTextNoTable[] = N_("%s: no table in it (no section TABLE0 to TABLE11 with a MAX)");
constexpr char kTextSameName[] = N_("%s and %s are both for the dimmer named %s");
constexpr char kTextTableFileAlone[] = N_("%s: a table text file goes alone, without other files");
constexpr char kTextTableFileOutputs[] = N_("%s: a table text file needs the outputs (--output N)");
constexpr char kTextIniRange[] =
    N_("%s: the table of Output %d has the range 0 to %d, but %s has 0 to %d");
constexpr char kTextEntryBeyond[] =
    N_("%s: the entry for DMX value %d is %s, beyond the range 0 to %d of %s");
constexpr char kTextFormula[] = N_("formula %s");
constexpr char kTextFormulaError[] = N_("formula %s: %s");
constexpr char kTextCurveNeedsValue[] = N_("curve %s needs its value");
constexpr char kTextCurveTakesNoValue[] = N_("curve %s takes no value");
constexpr char kTextGamma[] = N_("gamma %s: not a positive number");
constexpr char kTextNoFileFor[] = N_("No configuration file given is for this dimmer.");
constexpr char kTextLevel[] = N_("level %ld: %s takes 0 to %d");

// Results.
constexpr char kTextResult[] = N_("%s: %s");
constexpr char kTextStopped[] = N_("Stopped by %s.");
constexpr char kTextWriterNotStarted[] = N_("cannot start its writer: %s");
constexpr char kTextWriterSilent[] = N_("The dimmer's writer stopped answering and was ended.");
constexpr char kTextWriterSignal[] = N_("The dimmer's writer ended with signal %d.");
constexpr char kTextWriterNoResult[] = N_("The dimmer's writer ended without a result.");
constexpr char kTextWaitFailed[] = N_("The wait for the dimmer's writer failed: %s.");
constexpr char kTextVerified[] = N_("Verified: %s.");
constexpr char kTextDiffers[] = N_("%s differs at DMX value %d (file %u, dimmer %u)");
constexpr char kTextDifferent[] = N_("Different: %s.");
constexpr char kTextNotRead[] = N_("Not read: %s.");

// read.
constexpr char kTextReadIniOutputs[] =
    N_("%s: a configuration file holds every output; --output is for table text files");
constexpr char kTextReadTableOutput[] =
    N_("%s: a table text file holds one output: give --output N once");
constexpr char kTextRead[] = N_("Read: %s, saved in %s.");
constexpr char kTextNotSaved[] = N_("Not read: %s. %s was not saved.");
constexpr char kTextNotSavedStopped[] = N_("Read: %s. Not read: %s. %s was not saved.");
constexpr char kTextSaveFailed[] = N_("%s could not be saved: %s");

// set, temp, shutdown-temp.
constexpr char kTextLevelSet[] = N_("Output %d = %ld");
constexpr char kTextNoTemperature[] = N_("%s reports no temperature");
constexpr char kTextNoReply[] = N_("the dimmer does not answer");
constexpr char kTextActual[] = N_("Actual temperature: %s");
constexpr char kTextShutdown[] = N_("Shut down temperature: %s");
constexpr char kTextShutdownStored[] = N_("the dimmer stored %s, not %s");

// standalone.
constexpr char kTextNoStandAlone[] = N_("%s has no StandAlone programming");
constexpr char kTextNoSceneValue[] = N_("%s: no value in it to write into the EEPROM");
constexpr char kTextEepromWritten[] = N_("%lu bytes written to the EEPROM.");
constexpr char kTextEepromPart[] = N_("%lu of %lu bytes written to the EEPROM.");
constexpr char kTextEepromProgress[] = N_("%lu of %lu bytes, %s left");

// Progress.
constexpr char kTextWriting[] = N_("Writing");
constexpr char kTextReading[] = N_("Reading");
constexpr char kTextProgramming[] = N_("Programming");
constexpr char kTextTableProgress[] = N_("Output %d (%d of %d)");
constexpr char kTextRigProgress[] = N_("%d of %d tables, %d dimmers");

// A second signal.
constexpr char kTextFinishing[] = N_("Finishing %s: at most %.1f s more, then brenvo-cli stops.");
constexpr char kTextStopping[] = N_("Stopping.");
constexpr char kTextWorkTable[] = N_("the table of Output %d on %s");
constexpr char kTextWorkTables[] = N_("the tables under way on %d dimmers");
constexpr char kTextWorkEeprom[] = N_("the EEPROM byte under way on %s");
constexpr char kTextWorkShutdown[] = N_("the shut-down temperature on %s");

// The command line.
constexpr char kTextUnknownCommand[] = N_("unknown command %s (did you mean %s?)");
constexpr char kTextUnknownCommandNoGuess[] =
    N_("unknown command %s (brenvo-cli --help lists the commands)");
constexpr char kTextParseError[] = N_("%s (brenvo-cli --help explains the commands)");
constexpr char kTextExpectNeedsRig[] =
    N_("--expect counts the dimmers of --all or of several --port");
