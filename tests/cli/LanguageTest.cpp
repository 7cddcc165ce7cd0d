// brenvo-cli under a German locale: every command's results, errors and help in German, the
// columns of list, info and the help lined up by what a terminal shows, and the results as data
// the same in every language.
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "platform/os/DisplayWidth.h"
#include "tests/cli/CliRig.h"

namespace {

using nlohmann::json;

constexpr char kGerman[] = "de_DE.UTF-8";

class LanguageTest : public CliRig {
protected:
    void SetUp() override {
        Add("qp4", DimmerFault::None, "FT7K2QXA");  // CABLE0
        Add("kav5806");                             // CABLE1
        Add("nwe-r8p");                             // EMU0
        WriteFile("scene.hex", "0000:12\r\n0001:34\r\n");
        m_locale = kGerman;
    }

    CliRun In(const std::string& locale, const std::vector<std::string>& args) {
        m_locale = locale;
        return Cli(args);
    }
};

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The terminal columns before byte `at`.
std::size_t ColumnOf(const std::string& line, std::size_t at) {
    return DisplayWidth(line.substr(0, at));
}

}  // namespace

TEST_F(LanguageTest, EveryCommandSaysItsResultsAndErrorsInGerman) {
    const char* const r8p = "der Dimmer an EMU0 (Connected to NWE Dimmer R8P)";
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;  // contained in standard output
        std::string err;  // contained in standard error
    } rows[] = {
        // Results, a refusal, a mixed rig, progress and a system error: each a path of its own.
        {{"info"}, 0, "Temperaturen:  4 Messwerte", "Verwende CABLE0: LED-Dimmer QP4"},
        {{"read", "rig.ini", "-p", "CABLE0"},
         0,
         "CABLE0: Gelesen: Ausgang 1 bis 4, gespeichert",
         ""},
        {{"write", "rig.ini", "-p", "EMU0"}, 3, "", "nicht f\xC3\xBCr den angeschlossenen Dimmer"},
        {{"curve", "linear", "--all", "-o", "5"}, 0, "EMU0: Nicht betroffen: er hat keinen", ""},
        {{"set", "1", "5000", "-p", "EMU0"}, 1, "", std::string("Pegel 5000: ") + r8p},
        {{"standalone", "scene.hex", "-p", "CABLE0"}, 0, "2 Bytes in das EEPROM geschrieben.", ""},
        {{"write", "none.ini", "-p", "CABLE0"}, 1, "", "none.ini: Datei oder Verzeichnis nicht"},
        // The parser's own messages.
        {{"reed"}, 1, "", "unbekannter Befehl reed (war read gemeint?)"},
        {{"reset", "--port", "CABLE0", "--all"}, 1, "", "--port schlie\xC3\x9Ft --all aus"},
    };
    for (const auto& row : rows) {
        const CliRun run = Cli(row.args);
        SCOPED_TRACE(testing::PrintToString(row.args) + "\nout: " + run.out + "err: " + run.err);
        EXPECT_EQ(run.status, row.status);
        EXPECT_TRUE(Contains(run.out, row.out));
        EXPECT_TRUE(Contains(run.err, row.err));
        for (const std::string& line : LinesOf(run.err)) {
            // Errors keep the program's name; the note of the dimmer taken has none.
            EXPECT_TRUE(line.rfind("brenvo-cli: ", 0) == 0 || line.rfind("Verwende ", 0) == 0)
                << line;
        }
    }
}

TEST_F(LanguageTest, ResultsAsDataAreTheSameInEveryLanguage) {
    ASSERT_EQ(Cli({"read", "rig.ini", "-p", "CABLE0"}).status, 0);
    const std::vector<std::vector<std::string>> commands = {
        {"list"},
        {"write", "rig.ini", "-p", "EMU0", "--verify"},
        {"curve", "on", "--all", "--output", "5"},
        {"temp", "-p", "CABLE0"},
        {"info", "-p", "CABLE9"},
    };
    for (std::vector<std::string> args : commands) {
        args.push_back("--json");
        const CliRun english = In("C.UTF-8", args);
        const CliRun german = In(kGerman, args);
        SCOPED_TRACE(testing::PrintToString(args) + "\n" + english.out + german.out);
        EXPECT_EQ(german.status, english.status);
        EXPECT_EQ(german.out, english.out);  // keys, status words, titles, numbers
        if (!english.err.empty()) {
            EXPECT_NE(german.err, english.err);  // while the texts are German
        }
    }
}

TEST_F(LanguageTest, ListLinesItsColumnsUpByWhatTheTerminalShows) {
    const std::vector<std::string> list = LinesOf(Cli({"list"}).out);
    ASSERT_EQ(list.size(), 3u);
    // After "4 Ausgänge", "12 Ausgänge" and "1 Ausgang" the ranges start in one column.
    std::set<std::size_t> ranges;
    for (const std::string& line : list) {
        ranges.insert(ColumnOf(line, line.find("0 bis ")));
    }
    EXPECT_EQ(ranges.size(), 1u) << Cli({"list"}).out;
    EXPECT_TRUE(Contains(list[0], "0 bis 1023    Seriennr. FT7K2QXA")) << list[0];
}

TEST_F(LanguageTest, TheHelpOfTheProgramAndOfEveryCommandIsGermanAndLinedUp) {
    for (const char* command : {"", "list", "info", "read", "write", "verify", "curve", "reset",
                                "set", "temp", "shutdown-temp", "standalone"}) {
        std::vector<std::string> args = {"--help"};
        if (*command) {
            args.insert(args.begin(), command);
        }
        const CliRun run = Cli(args);
        SCOPED_TRACE(run.out);
        EXPECT_EQ(run.status, 0);
        EXPECT_TRUE(Contains(run.out, std::string("Aufruf: brenvo-cli") + (*command ? " " : "") +
                                          command + " [OPTIONEN]"));
        EXPECT_TRUE(Contains(run.out, "\nOptionen:\n  -h,--help                   Diese Hilfe"));
        for (const char* english : {"Usage", "Options:", "REQUIRED", "Excludes", " the "}) {
            EXPECT_FALSE(Contains(run.out, english)) << english;
        }
        // A description beside its option starts in column 30, whatever the option's words.
        for (const std::string& line : LinesOf(run.out)) {
            const std::size_t gap = line.find("  ", 2);
            if (line.rfind("  ", 0) == 0 && line[2] != ' ' && gap != std::string::npos) {
                const std::size_t start = line.find_first_not_of(' ', gap);
                EXPECT_EQ(ColumnOf(line, start), 30u) << line;
            }
        }
    }
}
