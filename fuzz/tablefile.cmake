# The table text file loader, with the bytes that mean something to its scanner.
brenvo_fuzz_target(brenvo_table_file_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/TableFileFuzz.cpp ${PROJECT_SOURCE_DIR}/tables/TableFile.cpp
    DEPS brenvo_os
    MAX_LEN 8192
    WORDS "\\x0A" "\\x0D\\x0A" "\\x00" " " "65535" "70000")
