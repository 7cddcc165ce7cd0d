// The program's text is Windows-1252 (CString); terminals, JSON and file names want UTF-8.
#pragma once

#include <string>

// Every byte as its Windows-1252 character in UTF-8; the five bytes that code no character
// become U+FFFD, so the result is always valid UTF-8.
std::string Windows1252ToUtf8(const std::string& text);
