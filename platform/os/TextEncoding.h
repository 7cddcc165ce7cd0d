// The program's texts (CString) are Windows-1252, but the file names they carry are the file
// system's UTF-8 bytes. Where text is shown to a person (the toolkit, a terminal, JSON), one rule
// decides how its bytes become characters.
#pragma once

#include <string>

// A well-formed multi-byte UTF-8 sequence is taken as UTF-8 (a file name), every other byte as its
// Windows-1252 character; the five bytes that code no character in Windows-1252 become the C1
// controls of the same value, as Windows converts them, so that every byte comes back. The
// program's own texts are ASCII and lone Windows-1252 bytes such as the degree sign, which never
// form a UTF-8 sequence. The result is valid UTF-8.
std::string DisplayTextToUtf8(const std::string& text);

// UTF-8 text back to Windows-1252: characters that it cannot show become '?'.
std::string Utf8ToWindows1252(const std::string& text);

// The bytes of the path that a person chose by its shown text (UTF-8, as a file dialog gives it
// back): a part that names an entry of its folder as the entry is spelled keeps that spelling;
// otherwise it takes the bytes of the one entry shown as that text, by the rule above or by
// `alsoShownAs` (how the toolkit itself reads a name, if it reads names another way); a part that
// names nothing yet (a new file) keeps its UTF-8 spelling.
std::string PathFromShownText(const std::string& shown,
                              std::string (*alsoShownAs)(const std::string& name) = nullptr);
