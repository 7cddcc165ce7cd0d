// The translations of the program's texts for one language: a compiled gettext catalogue (.mo).
// Keys and translations are UTF-8 in the file; the program's texts are Windows-1252, so both are
// converted once, when the catalogue is read.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

class MessageCatalogue {
public:
    // Reads a compiled catalogue; false (and an empty catalogue) for a file that is missing, too
    // large or not well formed.
    bool ReadFile(const std::string& path);
    bool Read(const std::string& bytes);

    bool IsEmpty() const { return m_exact.empty() && m_contextual.empty(); }
    // The translation of exactly `text`, or nullptr. An empty translation counts as none.
    const std::string* Find(const std::string& text) const;
    // The translation of a text of another program that shares the catalogue, kept apart by its
    // context (msgctxt, e.g. "brenvo-cli"): exactly `text`, UTF-8 as the catalogue has it; or
    // nullptr. Such entries never take part in Find or Translate.
    const std::string* FindIn(const std::string& context, const std::string& text) const;

    // A text as it is shown: its translation when the catalogue has one; otherwise the entry with
    // printf conversions (%d, %s, ...) that the text is an instance of, its arguments put into the
    // translation (an argument of %s is translated in turn, unless it has a '/' or a '.', the
    // marks of a path or a file name); otherwise, for a text of several
    // lines, each line this way. What matches nothing stays as it is.
    std::string Translate(const std::string& text) const;

private:
    struct Pattern {
        std::string key;
        const std::string* translation;
    };
    std::string TranslateWhole(const std::string& text, int depth, bool& found) const;

    std::unordered_map<std::string, std::string> m_exact;
    std::unordered_map<std::string, std::string> m_contextual;  // "context\x04text", UTF-8
    std::vector<Pattern> m_patterns;  // keys with conversions, in file order
};
