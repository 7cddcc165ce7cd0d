# Table text file loader fuzz target. The loader's source is compiled in so that it carries the
# coverage instrumentation that guides the fuzzer.
add_executable(brenvo_table_file_fuzz
    ${CMAKE_CURRENT_LIST_DIR}/TableFileFuzz.cpp
    ${PROJECT_SOURCE_DIR}/tables/TableFile.cpp)
target_include_directories(brenvo_table_file_fuzz PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(brenvo_table_file_fuzz PRIVATE brenvo_os)
brenvo_settings(brenvo_table_file_fuzz)
target_compile_options(brenvo_table_file_fuzz PRIVATE -fsanitize=fuzzer)
target_link_options(brenvo_table_file_fuzz PRIVATE -fsanitize=fuzzer)

# The bytes that mean something to the scanner.
set(table_file_fuzz_dict ${CMAKE_CURRENT_BINARY_DIR}/tablefile.dict)
set(table_file_words "")
foreach(word "\\x0A" "\\x0D\\x0A" "\\x00" " " "65535" "70000")
    string(APPEND table_file_words "\"${word}\"\n")
endforeach()
file(WRITE ${table_file_fuzz_dict} "${table_file_words}")

# A short run as a test of the fuzz build (ctest --test-dir <fuzz build>/fuzz -L fuzz).
add_test(NAME table_file_fuzz_smoke
    COMMAND brenvo_table_file_fuzz -max_total_time=5 -dict=${table_file_fuzz_dict} -max_len=8192)
set_tests_properties(table_file_fuzz_smoke PROPERTIES LABELS fuzz TIMEOUT 60)
