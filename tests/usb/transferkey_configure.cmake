# Configures a tiny project that takes its scrambling key table as the real
# build does (cmake/TransferKey.cmake) with good and bad key files: a missing
# file or one of another size than 128 bytes stops the configuration with a
# message saying so; a right one gives the table's source.
# usage: cmake -DCMAKE_COMMAND=<cmake> -DSOURCE_DIR=<source> -DWORK_DIR=<dir> -P transferkey_configure.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../common/failures.cmake)

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/project)
file(WRITE ${WORK_DIR}/project/CMakeLists.txt "
cmake_minimum_required(VERSION 3.25)
project(keyconfig NONE)
list(APPEND CMAKE_MODULE_PATH ${SOURCE_DIR}/cmake)
include(TransferKey)
set(VN274_TRANSFER_KEY_FILE \"\" CACHE FILEPATH \"key file\")
if(VN274_TRANSFER_KEY_FILE)
    vn274_write_transfer_key_source(\"\${VN274_TRANSFER_KEY_FILE}\" \${CMAKE_BINARY_DIR}/transferkey.cpp)
endif()
")

string(REPEAT "k" 127 short)
file(WRITE ${WORK_DIR}/short.bin "${short}")
file(WRITE ${WORK_DIR}/long.bin "${short}kk")
file(WRITE ${WORK_DIR}/empty.bin "")

# configure(<name> <key file>): the result in ${name}_result, the output in ${name}_output.
function(configure name key)
    execute_process(COMMAND ${CMAKE_COMMAND} -S ${WORK_DIR}/project -B ${WORK_DIR}/build-${name}
                            -DVN274_TRANSFER_KEY_FILE=${key}
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    # CMake wraps its messages: one blank for each run of blanks and line breaks.
    string(REGEX REPLACE "[ \n]+" " " output "${output}")
    set(${name}_result ${result} PARENT_SCOPE)
    set(${name}_output "${output}" PARENT_SCOPE)
endfunction()

foreach(case "short;${WORK_DIR}/short.bin;is 127 bytes long; the key table is exactly 128 bytes"
             "long;${WORK_DIR}/long.bin;is 129 bytes long"
             "empty;${WORK_DIR}/empty.bin;is 0 bytes long"
             "missing;${WORK_DIR}/missing.bin;missing.bin does not exist"
             "folder;${WORK_DIR};is a folder, not a file")
    list(GET case 0 name)
    list(GET case 1 key)
    list(GET case 2 expected)
    configure(${name} ${key})
    if(${name}_result EQUAL 0)
        fail("${name}: the configuration went on with ${key}")
    elseif(NOT ${name}_output MATCHES "${expected}")
        fail("${name}: the message does not say '${expected}':\n${${name}_output}")
    endif()
    if(EXISTS ${WORK_DIR}/build-${name}/transferkey.cpp)
        fail("${name}: a table source was written")
    endif()
endforeach()

configure(right ${SOURCE_DIR}/tests/usb/testkey.bin)
if(NOT right_result EQUAL 0)
    fail("a 128-byte key file was refused:\n${right_output}")
else()
    file(READ ${WORK_DIR}/build-right/transferkey.cpp source)
    foreach(row "0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f, 0x10,\n"
                "0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a, 0x7b, 0x7c, 0x7d, 0x7e, 0x7f, 0x80,\n};")
        string(FIND "${source}" "${row}" at)
        if(at LESS 0)
            fail("the table source lacks the row ${row}:\n${source}")
        endif()
    endforeach()
endif()

finish_checks("key files refused and accepted as expected")
