// A printf format read as the pattern of every text made from it: which conversions it has, whether
// a text is an instance of it (with the arguments it was given), and another format filled with
// those arguments. Translations use it to carry a made text over into another language.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One printf conversion of a format: where it is, its argument number (1-based; 0 when not
// positional) and its type letter (d i u x X s c f).
struct FormatConversion {
    std::size_t begin;
    std::size_t end;
    int position;
    char type;
};

std::vector<FormatConversion> ConversionsOf(const std::string& format);

// Whether `text` is an instance of `format`: its other characters as they are, numbers where it
// has %d, %u, %x or %f, any text where it has %s. The arguments are collected in order. A text
// longer than any message matches nothing, so that no text costs more than a moment.
bool MatchFormat(const std::string& format, const std::string& text,
                 std::vector<std::string>& args);

// `format` with `args` in place of its conversions, in order or by position ("%2$d").
std::string FillFormat(const std::string& format, const std::vector<std::string>& args);

// Whether printf may fill `translation` with the arguments of `format`: each argument taken with
// the same type and size (in order, or by position), and every '%' one of those conversions or
// "%%". A catalogue is read from a file: a translation that fails this is not used.
bool SameConversions(const std::string& format, const std::string& translation);
