# The StandAlone scene-file parser, with the file's own characters so that mutations form lines.
brenvo_fuzz_target(brenvo_standalone_fuzz
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/StandAloneFuzz.cpp ${PROJECT_SOURCE_DIR}/link/StandAloneImage.cpp
    DEPS brenvo_transport
    MAX_LEN 70000
    WORDS ":" "\\x0D\\x0A" "\\x0A" "\\x0D" "0000:" "80E8" "FF")
