// ProfileText: the text of an INI file held as its lines, with the reading and writing rules of the
// Windows private-profile services. Lines that a change does not touch stay byte for byte as they
// were, so Text() of an unchanged file is the file itself.
#pragma once

#include <cstddef>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class ProfileText {
public:
    enum class SetResult { Unchanged, Changed, Refused };

    ProfileText() { Load({}); }
    explicit ProfileText(std::string_view bytes) { Load(bytes); }
    // Not copied or moved: the held positions include the end of the line list, which would still
    // name the old list's end.
    ProfileText(const ProfileText&) = delete;
    ProfileText& operator=(const ProfileText&) = delete;

    // Replaces what is held with the parsed bytes.
    void Load(std::string_view bytes);

    // The value of `key` in the first section named `section` (names without regard to ASCII case
    // and outer blanks), trimmed and with one pair of outer quotes removed; empty when missing.
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

    // Stores `value` (outer blanks removed): an existing key changes in place, a new key goes after
    // the last line of its section, a new section goes at the end. Refused, with nothing changed,
    // for names or values that would not read back as given (line breaks, a key with '=' or one
    // that would read as a comment or header).
    SetResult Set(std::string_view section, std::string_view key, std::string_view value);

    std::string Text() const;

private:
    enum class Eol : unsigned char { None, Lf, CrLf, Cr };
    struct Line {
        std::string text;  // without its line end
        Eol eol;
    };
    using Lines = std::list<Line>;
    struct Section {
        Lines::iterator insertBefore;  // where the section's next new key goes
        std::unordered_map<std::string, Lines::iterator> keys;  // lower-case name: first line
    };

    Lines::iterator Append(std::string text);
    void AddSection(std::string_view name, Lines::iterator insertBefore);

    std::string m_bom;
    Lines m_lines;
    std::vector<Section> m_sections;                    // in file order
    std::unordered_map<std::string, size_t> m_firstOf;  // lower-case name: first section
};

// The blank characters that the profile rules trim.
std::string_view TrimProfileBlanks(std::string_view text);
// One pair of matching outer quotes ("..." or '...') removed.
std::string_view UnquoteProfileValue(std::string_view text);
