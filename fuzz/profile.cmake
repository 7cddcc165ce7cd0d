# INI file reader and writer fuzz target, with the reader's source compiled in for coverage.
add_executable(brenvo_profile_fuzz
    ${CMAKE_CURRENT_LIST_DIR}/ProfileFuzz.cpp
    ${PROJECT_SOURCE_DIR}/platform/os/ProfileText.cpp)
target_include_directories(brenvo_profile_fuzz PRIVATE ${PROJECT_SOURCE_DIR})
brenvo_settings(brenvo_profile_fuzz)
target_compile_options(brenvo_profile_fuzz PRIVATE -fsanitize=fuzzer)
target_link_options(brenvo_profile_fuzz PRIVATE -fsanitize=fuzzer)

set(profile_fuzz_dict ${CMAKE_CURRENT_BINARY_DIR}/profile.dict)
file(WRITE ${profile_fuzz_dict}
    "\"[\"\n\"]\"\n\"=\"\n\";\"\n\"\\x0d\\x0a\"\n\"\\x0a\"\n\"\\x0d\"\n\"\\x22\"\n\"'\"\n\" \"\n"
    "\"\\x00\"\n\"\\xef\\xbb\\xbf\"\n\"[TABLE0]\"\n\"VALUE0=\"\n")

add_test(NAME profile_fuzz_smoke
    COMMAND brenvo_profile_fuzz -max_total_time=5 -dict=${profile_fuzz_dict} -max_len=4096)
set_tests_properties(profile_fuzz_smoke PROPERTIES LABELS fuzz TIMEOUT 60)
