# Configures a tiny project that takes its release key as the real build does
# (cmake/ReleaseKey.cmake) with good and bad key files: a missing file, a
# folder, or anything but a minisign public key file stops the configuration
# with a message saying so; the project's test key gives the key's source.
# usage: cmake -DCMAKE_COMMAND=<cmake> -DSOURCE_DIR=<source> -DWORK_DIR=<dir> -P releasekey_configure.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../common/failures.cmake)

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/project)
file(WRITE ${WORK_DIR}/project/CMakeLists.txt "
cmake_minimum_required(VERSION 3.25)
project(keyconfig NONE)
list(APPEND CMAKE_MODULE_PATH ${SOURCE_DIR}/cmake)
include(ReleaseKey)
set(VN274_RELEASE_KEY_FILE \"\" CACHE FILEPATH \"key file\")
if(VN274_RELEASE_KEY_FILE)
    vn274_write_release_key_source(\"\${VN274_RELEASE_KEY_FILE}\" \${CMAKE_BINARY_DIR}/releasekey.cpp)
endif()
")

file(READ ${SOURCE_DIR}/tests/keys/test.pub pub)
string(REGEX MATCH "RW[A-Za-z0-9+/]+" key "${pub}")
file(WRITE ${WORK_DIR}/empty.pub "")
file(WRITE ${WORK_DIR}/oneline.pub "${key}\n")
file(WRITE ${WORK_DIR}/nocomment.pub "comment: x\n${key}\n")
string(SUBSTRING "${key}" 0 50 cut)
file(WRITE ${WORK_DIR}/short.pub "untrusted comment: minisign public key\n${cut}\n")
file(WRITE ${WORK_DIR}/notakey.pub "untrusted comment: minisign public key\nhello world\n")
file(WRITE ${WORK_DIR}/secret.key "untrusted comment: minisign encrypted secret key\nRWQAAEIyAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAqBlPoG57vlN6TT6o\n")

# configure(<name> <key file>): the result in ${name}_result, the output in ${name}_output.
function(configure name keyfile)
    execute_process(COMMAND ${CMAKE_COMMAND} -S ${WORK_DIR}/project -B ${WORK_DIR}/build-${name}
                            -DVN274_RELEASE_KEY_FILE=${keyfile}
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    # CMake wraps its messages: one blank for each run of blanks and line breaks.
    string(REGEX REPLACE "[ \n]+" " " output "${output}")
    set(${name}_result ${result} PARENT_SCOPE)
    set(${name}_output "${output}" PARENT_SCOPE)
endfunction()

foreach(case "missing;${WORK_DIR}/missing.pub;missing.pub does not exist"
             "folder;${WORK_DIR};is a folder, not a file"
             "empty;${WORK_DIR}/empty.pub;is not a minisign public key file"
             "oneline;${WORK_DIR}/oneline.pub;is not a minisign public key file"
             "nocomment;${WORK_DIR}/nocomment.pub;is not a minisign public key file"
             "notakey;${WORK_DIR}/notakey.pub;is not a minisign public key file"
             "short;${WORK_DIR}/short.pub;is 50 characters long; a minisign public key is 56"
             "secret;${WORK_DIR}/secret.key;is a minisign secret key file")
    list(GET case 0 name)
    list(GET case 1 keyfile)
    list(GET case 2 expected)
    configure(${name} ${keyfile})
    if(${name}_result EQUAL 0)
        fail("${name}: the configuration went on with ${keyfile}")
    elseif(NOT ${name}_output MATCHES "${expected}")
        fail("${name}: the message does not say '${expected}':\n${${name}_output}")
    endif()
    if(EXISTS ${WORK_DIR}/build-${name}/releasekey.cpp)
        fail("${name}: a key source was written")
    endif()
endforeach()

configure(right ${SOURCE_DIR}/tests/keys/test.pub)
if(NOT right_result EQUAL 0)
    fail("the test key's public key file was refused:\n${right_output}")
else()
    file(READ ${WORK_DIR}/build-right/releasekey.cpp source)
    string(FIND "${source}" "pinnedReleaseKeyText[] = \"${key}\";" at)
    if(at LESS 0)
        fail("the key source does not hold the key ${key}:\n${source}")
    endif()
endif()

finish_checks("release key files refused and accepted as expected")
