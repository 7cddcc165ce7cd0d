# The INI file reader and writer, with the characters of the file format (brackets, ";" and the
# quote as escapes: they mean something to CMake's lists).
brenvo_fuzz_target(brenvo_profile_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/ProfileFuzz.cpp ${PROJECT_SOURCE_DIR}/platform/os/ProfileText.cpp
    MAX_LEN 4096
    WORDS "\\x5b" "\\x5d" "=" "\\x3b" "\\x0d\\x0a" "\\x0a" "\\x0d" "\\x22" "'" " " "\\x00" "\\xef\\xbb\\xbf"
          "[TABLE0]" "VALUE0=")
