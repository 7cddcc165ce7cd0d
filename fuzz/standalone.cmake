# StandAlone scene-file parser fuzz target. The parser's source is compiled in so that it carries
# the coverage instrumentation that guides the fuzzer.
add_executable(brenvo_standalone_fuzz
    ${CMAKE_CURRENT_LIST_DIR}/StandAloneFuzz.cpp
    ${PROJECT_SOURCE_DIR}/link/StandAloneImage.cpp)
target_include_directories(brenvo_standalone_fuzz PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(brenvo_standalone_fuzz PRIVATE brenvo_transport)
brenvo_settings(brenvo_standalone_fuzz)
target_compile_options(brenvo_standalone_fuzz PRIVATE -fsanitize=fuzzer)
target_link_options(brenvo_standalone_fuzz PRIVATE -fsanitize=fuzzer)

# The file's own characters, so that mutations form lines quickly.
set(standalone_fuzz_dict ${CMAKE_CURRENT_BINARY_DIR}/standalone.dict)
set(standalone_words "")
foreach(word ":" "\\x0D\\x0A" "\\x0A" "\\x0D" "0000:" "80E8" "FF")
    string(APPEND standalone_words "\"${word}\"\n")
endforeach()
file(WRITE ${standalone_fuzz_dict} "${standalone_words}")

enable_testing()
add_test(NAME standalone_fuzz_smoke
    COMMAND brenvo_standalone_fuzz -max_total_time=5 -dict=${standalone_fuzz_dict}
            -max_len=70000)
set_tests_properties(standalone_fuzz_smoke PROPERTIES LABELS fuzz TIMEOUT 60)
