# Sanitizer builds. One option, chosen when the build folder is set up:
#
#     -DVN274_SANITIZE=address   AddressSanitizer and UndefinedBehaviorSanitizer
#     -DVN274_SANITIZE=thread    ThreadSanitizer
#
# Every target of the project is compiled and linked with it, at -O1 with
# frame pointers and assertions (a Debug build unless another type is asked
# for). A report ends the program: no sanitizer recovers.
#
# Both gcc and clang work; CI uses clang (CC=clang CXX=clang++), which links the
# runtime into each program, so that a test may LD_PRELOAD another library into
# it. Debian's Qt is not instrumented: what is read or freed inside Qt's own
# code is seen only where our code touches it, hence freed memory is filled
# (sanitizerdefaults.cpp) so that a stale pointer reads garbage at once.
#
# The run-time options of CI are compiled into every program that links
# vn274core (sanitizerdefaults.cpp), so `ctest`, a test binary run by hand and
# the programs a test starts all run as CI runs them. ASAN_OPTIONS, LSAN_OPTIONS,
# UBSAN_OPTIONS and TSAN_OPTIONS in the environment add to them or override them.
#
# The fuzz harnesses of tests/fuzz are built with -DVN274_FUZZ=ON (clang only):
# the address build, with every source also instrumented for libFuzzer's
# coverage. See tests/fuzz/CMakeLists.txt.
set(VN274_SANITIZE "" CACHE STRING
    "Build with sanitizers: address (AddressSanitizer + UndefinedBehaviorSanitizer) or thread (ThreadSanitizer)")
set_property(CACHE VN274_SANITIZE PROPERTY STRINGS "" address thread)
option(VN274_FUZZ "Build the libFuzzer harnesses of tests/fuzz (clang, an address build)" OFF)

if(VN274_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "VN274_FUZZ needs clang (CC=clang CXX=clang++), not ${CMAKE_CXX_COMPILER_ID}")
    endif()
    if(VN274_SANITIZE STREQUAL "thread")
        message(FATAL_ERROR "VN274_FUZZ goes with the address build, not VN274_SANITIZE=thread")
    endif()
    set(VN274_SANITIZE address)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(VN274_SANITIZE STREQUAL "")
    return()
elseif(VN274_SANITIZE STREQUAL "address")
    set(vn274_sanitizer_flags -fsanitize=address,undefined -fno-sanitize-recover=all)
elseif(VN274_SANITIZE STREQUAL "thread")
    set(vn274_sanitizer_flags -fsanitize=thread)
else()
    message(FATAL_ERROR "VN274_SANITIZE is '${VN274_SANITIZE}': use address, thread or nothing")
endif()
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    message(FATAL_ERROR "VN274_SANITIZE needs gcc or clang, not ${CMAKE_CXX_COMPILER_ID}")
endif()
message(STATUS "Sanitizer build: ${VN274_SANITIZE} (${vn274_sanitizer_flags})")

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
    set(CMAKE_BUILD_TYPE Debug)
endif()
add_compile_options(${vn274_sanitizer_flags} -O1 -g -fno-omit-frame-pointer -fno-optimize-sibling-calls)
add_link_options(${vn274_sanitizer_flags})
# For the few tests that cannot run under a sanitizer and say why.
add_compile_definitions(VN274_SANITIZER="${VN274_SANITIZE}")

# The options, with the paths of the suppression files of this folder, compiled
# into every program that links `target`; see the top.
function(vn274_add_sanitizer_defaults target)
    set(VN274_SANITIZER_FOLDER ${CMAKE_SOURCE_DIR}/sanitize)
    configure_file(${CMAKE_SOURCE_DIR}/sanitize/sanitizerdefaults.cpp.in
                   ${CMAKE_BINARY_DIR}/sanitize/sanitizerdefaults.cpp @ONLY)
    target_sources(${target} INTERFACE ${CMAKE_BINARY_DIR}/sanitize/sanitizerdefaults.cpp)
endfunction()
