// The translation catalogue: reading compiled gettext files, translating shown texts (exact,
// printf patterns, line by line), and choosing the user's language from the environment.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/os/FormatPattern.h"
#include "platform/os/MessageCatalogue.h"
#include "platform/os/UserLanguage.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// A compiled catalogue (GNU .mo, little-endian) holding `entries` (UTF-8), as msgfmt writes it.
std::string MoFile(const Entries& entries) {
    const std::uint32_t n = static_cast<std::uint32_t>(entries.size());
    std::string strings;
    std::vector<std::uint32_t> table;
    const std::uint32_t stringsAt = 28 + 16 * n;
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& e : entries) {
            const std::string& s = pass == 0 ? e.first : e.second;
            table.push_back(static_cast<std::uint32_t>(s.size()));
            table.push_back(stringsAt + static_cast<std::uint32_t>(strings.size()));
            strings += s;
            strings += '\0';
        }
    }
    std::vector<std::uint32_t> words = {0x950412de, 0, n, 28, 28 + 8 * n, 0, 0};
    words.insert(words.end(), table.begin(), table.end());
    std::string out(words.size() * 4, '\0');
    std::memcpy(out.data(), words.data(), out.size());
    return out + strings;
}

const Entries kGerman = {
    {"", "Content-Type: text/plain; charset=UTF-8\n"},
    {"Read", "Lesen"},
    {"Info \xC3\xBC"
     "ber Brenvo",
     "Info \xC3\xBC"
     "ber Brenvo"},
    {"Output %d", "Ausgang %d"},
    {"Output %d to %d", "Ausgang %d bis %d"},
    {"Output %d (=%d):", "Ausgang %d (=%d):"},
    {"Written: %s.", "Geschrieben: %s."},
    {"File (%s) could not be saved: %s.", "Die Datei (%s) konnte nicht gespeichert werden: %s."},
    {"Permission denied", "Keine Berechtigung"},
    {"From %d to %d", "Bis %2$d ab %1$d"},
    {"Line %lu at %lX", "Zeile %lu bei %lX"},
    {"The connection to the dimmer is lost.", "Die Verbindung zum Dimmer ist unterbrochen."},
    {"Untranslated", ""},
    {"Quit", "Beenden"},
    {"Read/Write", "Lesen/Schreiben"},
    {"Greek", "\xCE\xB1\xCE\xB2"},  // no Windows-1252 character for these: stays UTF-8
    {"Position %123456789012$d", "Stelle %123456789012$d"},
};

MessageCatalogue German() {
    MessageCatalogue c;
    EXPECT_TRUE(c.Read(MoFile(kGerman)));
    return c;
}

}  // namespace

TEST(MessageCatalogue, TranslatesShownTextsExactlyByPatternAndLineByLine) {
    const MessageCatalogue c = German();
    struct Case {
        const char* shown;
        const char* expected;
    };
    const Case cases[] = {
        {"Read", "Lesen"},
        {"Info \xFC"
         "ber Brenvo",
         "Info \xFC"
         "ber Brenvo"},  // keys and texts in Windows-1252
        {"Output 3", "Ausgang 3"},
        {"Output 1 to 4", "Ausgang 1 bis 4"},
        {"Output 12 (=-5):", "Ausgang 12 (=-5):"},
        {"Output x", "Output x"},       // %d takes digits only
        {"Output 3 ", "Output 3 "},     // the whole text must match
        {"From 2 to 9", "Bis 9 ab 2"},  // positional arguments
        {"Line 12 at 7FFF", "Zeile 12 bei 7FFF"},
        // An argument of %s is translated in turn, a path or a file name never.
        {"Written: Output 1 to 4.", "Geschrieben: Ausgang 1 bis 4."},
        {"File (/home/a/Quit) could not be saved: Permission denied.",
         "Die Datei (/home/a/Quit) konnte nicht gespeichert werden: Keine Berechtigung."},
        {"Written: Quit.txt.", "Geschrieben: Quit.txt."},
        {"Written: Read/Write.", "Geschrieben: Read/Write."},
        // Several lines: each line on its own, the breaks kept.
        {"Output 3\nThe connection to the dimmer is lost.\n\nWritten: Output 1.",
         "Ausgang 3\nDie Verbindung zum Dimmer ist unterbrochen.\n\nGeschrieben: Ausgang 1."},
        // Missing or empty translations: the English text, never an empty one.
        {"Untranslated", "Untranslated"},
        {"Something new", "Something new"},
        {"", ""},
        {"Greek", "\xCE\xB1\xCE\xB2"},
        {"Position %123456789012$d", "Stelle %123456789012$d"},  // no argument that large
    };
    for (const Case& k : cases) {
        EXPECT_EQ(c.Translate(k.shown), k.expected) << k.shown;
    }
}

TEST(MessageCatalogue, DamagedFilesGiveNoCatalogueAndNoCrash) {
    const std::string good = MoFile(kGerman);
    std::vector<std::string> damaged = {
        "",
        good.substr(0, 27),
        good.substr(0, good.size() / 2),  // strings cut off
        "\x01\x02\x03\x04" + good.substr(4),
    };
    std::string hugeCount = good;
    const std::uint32_t count = 0x10000000;
    std::memcpy(hugeCount.data() + 8, &count, 4);
    damaged.push_back(hugeCount);
    std::string farOffset = good;
    const std::uint32_t offset = 0xFFFFFFF0;
    std::memcpy(farOffset.data() + 28 + 4, &offset, 4);
    damaged.push_back(farOffset);
    std::string newRevision = good;
    const std::uint32_t revision = 0x00020000;
    std::memcpy(newRevision.data() + 4, &revision, 4);
    damaged.push_back(newRevision);
    for (const std::string& bytes : damaged) {
        MessageCatalogue c;
        EXPECT_FALSE(c.Read(bytes)) << bytes.size() << " bytes";
        EXPECT_TRUE(c.IsEmpty());
        EXPECT_EQ(c.Translate("Read"), "Read");
    }

    // The other byte order reads as well.
    std::string swapped = good;
    for (std::size_t i = 0; i + 4 <= 28 + 16 * kGerman.size(); i += 4) {
        std::swap(swapped[i], swapped[i + 3]);
        std::swap(swapped[i + 1], swapped[i + 2]);
    }
    MessageCatalogue c;
    EXPECT_TRUE(c.Read(swapped));
    EXPECT_EQ(c.Translate("Read"), "Lesen");
    EXPECT_FALSE(c.ReadFile("/nonexistent/brenvo.mo"));
}

TEST(MessageCatalogue, TextsOfAnotherProgramAreKeptApartByTheirContext) {
    const Entries entries = {
        {"", "Content-Type: text/plain; charset=UTF-8\n"},
        {"Output %d", "Ausgang %d"},
        {"none", "keiner"},
        {"brenvo-cli\x04none", "keine"},
        {"brenvo-cli\x04%s: %s", "%s -> %s"},
        {"brenvo-cli\x04"
         "Device",
         "Ger\xC3\xA4t"},
    };
    MessageCatalogue c;
    ASSERT_TRUE(c.Read(MoFile(entries)));
    ASSERT_NE(c.FindIn("brenvo-cli", "none"), nullptr);
    EXPECT_EQ(*c.FindIn("brenvo-cli", "none"), "keine");
    EXPECT_EQ(*c.FindIn("brenvo-cli", "Device"), "Ger\xC3\xA4t");  // UTF-8 as written
    EXPECT_EQ(c.FindIn("brenvo-cli", "Output %d"), nullptr);       // exactly in its own context
    EXPECT_EQ(c.FindIn("brenvo-dimmer", "none"), nullptr);
    // The window's texts never meet them, neither exactly nor as a pattern.
    EXPECT_EQ(c.Translate("none"), "keiner");
    EXPECT_EQ(c.Translate("CABLE0: Output 2"), "CABLE0: Output 2");
    EXPECT_EQ(c.Find("Device"), nullptr);

    MessageCatalogue only;
    ASSERT_TRUE(only.Read(MoFile({{"", ""}, {"brenvo-cli\x04Reading", "Lesen"}})));
    EXPECT_FALSE(only.IsEmpty());
    EXPECT_EQ(only.Translate("Reading"), "Reading");
}

TEST(FormatPattern, ATextIsMatchedAgainstItsFormatAndFilledIntoAnother) {
    struct Case {
        const char* format;
        std::string text;
        bool matches;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"%s excludes %s", "--port excludes --all", true, {"--port", "--all"}},
        {"%s: Value %s not in range %s to %s",
         "--set: Value 1000 not in range -40 to 520",
         true,
         {"--set", "1000", "-40", "520"}},
        {"%s is required", std::string(9000, 'a') + " is required", false, {}},
    };
    for (const Case& k : cases) {
        std::vector<std::string> args;
        EXPECT_EQ(MatchFormat(k.format, k.text, args), k.matches) << k.format;
        if (k.matches) {
            EXPECT_EQ(args, k.args) << k.format;
        }
    }
    EXPECT_EQ(FillFormat("%d%% von %s", {"5"}), "5% von ");  // an argument missing: nothing

    // Which translations printf may fill with the English format's arguments.
    const struct {
        const char* format;
        const char* translation;
        bool same;
    } translations[] = {
        {"%s: %d of %lu bytes", "%s: %d von %lu Bytes", true},
        {"%s: %d of %lu bytes", "%s: %3$lu Bytes, davon %2$d", false},  // mixed: not printf's
        {"%s: %d of %lu", "%1$s: %3$lu, davon %2$d", true},
        {"%s at %.1f s", "%s bei %4.2f s", true},  // flags, width and precision are free
        {"%s: %d", "%s: %s", false},               // another type
        {"%d bytes", "%ld Bytes", false},          // another size
        {"%s and %s", "%s", false},                // an argument left out
        {"%d%%", "%d %%", true},
        {"%d", "%d %n", false},  // a conversion printf would write with
        {"%d", "%*d", false},
        {"%s", "%2$s", false},  // a gap
        {"100%", "100%", false},
    };
    for (const auto& t : translations) {
        EXPECT_EQ(SameConversions(t.format, t.translation), t.same) << t.translation;
    }
}

TEST(UserLanguage, TheEnvironmentChoosesLikeGettextWithoutInstalledLocales) {
    TempRuntimeDir dir;
    const std::string locale = dir.Path() + "/locale";
    for (const char* folder : {"de", "pt_BR"}) {
        const std::string messages = locale + "/" + folder + "/LC_MESSAGES";
        ASSERT_EQ(system(("mkdir -p '" + messages + "'").c_str()), 0);
        std::ofstream(messages + "/brenvo.mo") << MoFile(kGerman);
    }
    struct Case {
        std::map<std::string, std::string> env;
        const char* language;
    };
    const Case cases[] = {
        {{{"LANG", "de_DE.UTF-8"}}, "de"},
        {{{"LANG", "de_AT.ISO-8859-1@euro"}}, "de"},
        {{{"LC_MESSAGES", "de_CH"}, {"LANG", "en_US.UTF-8"}}, "de"},
        {{{"LC_ALL", "en_GB.UTF-8"}, {"LC_MESSAGES", "de_DE"}}, ""},  // LC_ALL first
        {{{"LANG", "pt_BR.UTF-8"}}, "pt_BR"},
        {{{"LANG", "pt_PT.UTF-8"}}, ""},  // no catalogue for pt
        {{{"LANGUAGE", "fr:de"}, {"LANG", "fr_FR.UTF-8"}}, "de"},
        {{{"LANGUAGE", "en:de"}, {"LANG", "de_DE.UTF-8"}}, ""},  // English asked for first
        {{{"LANGUAGE", "de"}, {"LANG", "C.UTF-8"}}, ""},         // as gettext: C ignores LANGUAGE
        {{{"LANGUAGE", "de"}}, ""},
        {{{"LANG", "POSIX"}}, ""},
        {{{"LANG", "../../../../tmp"}}, ""},  // a locale name never leaves the folder
        {{}, ""},
    };
    for (const Case& k : cases) {
        const LanguageChoice choice = FindUserLanguage("brenvo", locale, [&k](const char* name) {
            const auto it = k.env.find(name);
            return it == k.env.end() ? nullptr : it->second.c_str();
        });
        std::string env;
        for (const auto& [name, value] : k.env)
            env += name + "=" + value + " ";
        EXPECT_EQ(choice.language, k.language) << env;
        if (*k.language) {
            EXPECT_EQ(choice.catalogue, locale + "/" + k.language + "/LC_MESSAGES/brenvo.mo");
        }
    }
    EXPECT_EQ(LanguageFolders("de_DE.UTF-8@euro"),
              (std::vector<std::string>{"de_DE@euro", "de_DE", "de@euro", "de"}));
}

TEST(UserLanguage, ShownTextsFollowTheCatalogueInUse) {
    auto catalogue = std::make_shared<MessageCatalogue>(German());
    UseCatalogue(catalogue, "de");
    EXPECT_EQ(ShownLanguage(), "de");
    EXPECT_EQ(ShownText("Output 2"), "Ausgang 2");
    UseCatalogue(nullptr, "de");
    EXPECT_EQ(ShownLanguage(), "");
    EXPECT_EQ(ShownText("Output 2"), "Output 2");
}
