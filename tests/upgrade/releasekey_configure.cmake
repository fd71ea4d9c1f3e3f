# Configures a tiny project that takes its release keys as the real build does
# (cmake/ReleaseKey.cmake) with good and bad key files: a missing file, a
# folder, anything but a minisign public key file, a list with such an entry,
# more than four keys or one key twice stop the configuration with a message
# saying so; the project's test key gives the key's source, and a file of two
# keys or a list of two files a source with both.
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
    message(STATUS \"key ids: \${VN274_RELEASE_KEY_IDS}\")
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
# Keys of the right form with ids of their own (no signature is checked here).
foreach(n RANGE 0 3)
    string(SUBSTRING "ABCD" ${n} 1 letter)
    string(SUBSTRING "${key}" 6 -1 rest)
    string(SUBSTRING "${key}" 0 5 head)
    set(key${n} "${head}${letter}${rest}")
endforeach()
file(WRITE ${WORK_DIR}/two.pub "untrusted comment: minisign public key\n${key0}\n\nuntrusted comment: minisign public key\n${key}\n")
file(WRITE ${WORK_DIR}/three.pub "")
foreach(n 1 2 3)
    file(APPEND ${WORK_DIR}/three.pub "untrusted comment: minisign public key\n${key${n}}\n")
endforeach()
file(WRITE ${WORK_DIR}/secret.key "untrusted comment: minisign encrypted secret key\nRWQAAEIyAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAqBlPoG57vlN6TT6o\n")

# configure(<name> <key files, apart by |>): the result in ${name}_result, the
# output in ${name}_output.
function(configure name keyfile)
    string(REPLACE "|" ";" keyfile "${keyfile}")
    execute_process(COMMAND ${CMAKE_COMMAND} -S ${WORK_DIR}/project -B ${WORK_DIR}/build-${name}
                            "-DVN274_RELEASE_KEY_FILE=${keyfile}"
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
             "secret;${WORK_DIR}/secret.key;is a minisign secret key file"
             "listwithabadentry;${SOURCE_DIR}/tests/keys/test.pub|${WORK_DIR}/notakey.pub;notakey.pub is not a minisign public key file"
             "fivekeys;${WORK_DIR}/three.pub|${WORK_DIR}/two.pub;holds 5 release keys; at most 4 are pinned"
             "twice;${SOURCE_DIR}/tests/keys/test.pub|${WORK_DIR}/two.pub;is pinned twice")
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

# accepted(<name> <key files> <the key source's text> <the ids as the build names them>)
function(accepted name keyfiles text ids)
    configure(${name} "${keyfiles}")
    if(NOT ${name}_result EQUAL 0)
        fail("${name}: ${keyfiles} refused:\n${${name}_output}")
    else()
        file(READ ${WORK_DIR}/build-${name}/releasekey.cpp source)
        string(FIND "${source}" "pinnedReleaseKeyText[] = \"${text}\";" at)
        if(at LESS 0)
            fail("${name}: the key source does not hold ${text}:\n${source}")
        endif()
        string(FIND "${${name}_output}" "key ids: ${ids}" at)
        if(at LESS 0)
            fail("${name}: the key ids are not ${ids}:\n${${name}_output}")
        endif()
    endif()
    set(failures ${failures} PARENT_SCOPE)   # counted by fail() in this scope
endfunction()

accepted(right ${SOURCE_DIR}/tests/keys/test.pub "${key}" "53BE7B6EA04F19A8 --")
accepted(onefiletwokeys ${WORK_DIR}/two.pub "${key0}\\n${key}" "53BE7B6EA00F18A8, 53BE7B6EA04F19A8 --")
accepted(listoftwo "${WORK_DIR}/three.pub|${SOURCE_DIR}/tests/keys/test.pub" "${key1}\\n${key2}\\n${key3}\\n${key}"
         "53BE7B6EA01F18A8, 53BE7B6EA02F18A8, 53BE7B6EA03F18A8, 53BE7B6EA04F19A8 --")

finish_checks("release key files refused and accepted as expected")
