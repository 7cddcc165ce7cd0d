// How wide text is on a terminal, so that columns line up in every language.
#pragma once

#include <cstddef>
#include <string>

// The columns that UTF-8 text takes on a terminal, so that columns line up in every language:
// one for most characters, two for the wide ones of East Asian scripts, none for a combining mark.
std::size_t DisplayWidth(const std::string& utf8);
// The text followed by spaces up to `width` columns.
std::string PaddedTo(std::string utf8, std::size_t width);
// The start of the text that fits in `width` columns.
std::string CutTo(const std::string& utf8, std::size_t width);
