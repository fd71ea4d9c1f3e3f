# The maker's release keys as a C++ source: the public keys of the key pairs
# the maker signs upgrade files with (minisign -G), taken from minisign's public
# key files, pinned into the programs that write firmware.
#
#     vn274_write_release_key_source(<public key files> <output .cpp>)
#     vn274_write_no_release_key_source(<output .cpp>)
#
# <public key files> is one file or a list of them; a file may hold several
# keys, each as minisign writes it: two lines, "untrusted comment: ..." and the
# base64 of 42 bytes, "Ed", the 8-byte key id and the 32-byte Ed25519 key (the
# files of `cat old.pub new.pub`). At most four keys in all: a maker that
# rotates its key pins the new one beside the old for as long as releases
# signed by the old one are in the field. A missing file, one of any other
# form, more than four keys or two keys of one id stop the configuration: a
# build pinned to a wrong key would refuse every release, or worse, a build
# that silently pinned none would take any file. The source is rewritten only
# when the keys change, and a changed file reconfigures the build.
set(VN274_MAX_RELEASE_KEYS 4)

function(vn274_write_release_key_source key_files output)
    if(key_files STREQUAL "")
        message(FATAL_ERROR "vn274: no release key file given")
    endif()
    set(keys "")
    set(ids "")
    foreach(key_file IN LISTS key_files)
        _vn274_read_release_keys("${key_file}" file_keys)
        foreach(key IN LISTS file_keys)
            _vn274_release_key_id("${key}" id)
            if(id IN_LIST ids)
                message(FATAL_ERROR "vn274: the release key ${id} of ${key_file} is pinned twice "
                                    "(VN274_RELEASE_KEY_FILE names each key once)")
            endif()
            list(APPEND ids ${id})
            list(APPEND keys ${key})
        endforeach()
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${key_file}")
    endforeach()
    list(LENGTH keys count)
    if(count GREATER VN274_MAX_RELEASE_KEYS)
        message(FATAL_ERROR "vn274: VN274_RELEASE_KEY_FILE holds ${count} release keys; "
                            "at most ${VN274_MAX_RELEASE_KEYS} are pinned")
    endif()
    list(JOIN ids ", " id_text)
    set(VN274_RELEASE_KEY_IDS "${id_text}" PARENT_SCOPE)
    # One key a line in the program's text.
    list(JOIN keys "\\n" key_text)
    list(JOIN key_files ", " origin)
    _vn274_write_release_key("${key_text}" "${origin}" "${output}")
endfunction()

function(vn274_write_no_release_key_source output)
    _vn274_write_release_key("" "no VN274_RELEASE_KEY_FILE: release signatures are not checked" "${output}")
endfunction()

# The keys of one public key file, in its order.
function(_vn274_read_release_keys key_file out)
    if(NOT EXISTS "${key_file}")
        message(FATAL_ERROR "vn274: the release key file ${key_file} does not exist "
                            "(VN274_RELEASE_KEY_FILE names the public key file of minisign -G, e.g. maker.pub)")
    endif()
    if(IS_DIRECTORY "${key_file}")
        message(FATAL_ERROR "vn274: the release key file ${key_file} is a folder, not a file")
    endif()
    file(SIZE "${key_file}" size)
    if(size GREATER 4096)
        message(FATAL_ERROR "vn274: the release key file ${key_file} is ${size} bytes long; "
                            "a minisign public key file is two short lines a key")
    endif()
    # Blank lines between the keys are no part of them.
    file(STRINGS "${key_file}" all_lines)
    set(lines "")
    foreach(line IN LISTS all_lines)
        string(STRIP "${line}" stripped)
        if(NOT stripped STREQUAL "")
            list(APPEND lines "${line}")
        endif()
    endforeach()
    list(LENGTH lines count)
    # The secret half must never go into a program, where anyone could read it.
    foreach(line IN LISTS lines)
        if(line MATCHES "^untrusted comment: .*secret key")
            message(FATAL_ERROR "vn274: the release key file ${key_file} is a minisign secret key file; "
                                "give the public key file (minisign -G writes it beside, e.g. maker.pub)")
        endif()
    endforeach()
    math(EXPR odd "${count} % 2")
    if(count EQUAL 0 OR odd)
        _vn274_not_a_key_file("${key_file}")
    endif()
    set(keys "")
    math(EXPR last "${count} - 1")
    foreach(at RANGE 0 ${last} 2)
        math(EXPR next "${at} + 1")
        list(GET lines ${at} comment)
        list(GET lines ${next} key)
        string(STRIP "${key}" key)
        # The base64 of 42 bytes is 56 characters without padding; "Ed" makes
        # them begin with "RW" and one of Q to T.
        if(NOT comment MATCHES "^untrusted comment: " OR NOT key MATCHES "^RW[QRST][A-Za-z0-9+/]+$")
            _vn274_not_a_key_file("${key_file}")
        endif()
        string(LENGTH "${key}" length)
        if(NOT length EQUAL 56)
            message(FATAL_ERROR "vn274: the release key in ${key_file} is ${length} characters long; "
                                "a minisign public key is 56 (42 bytes in base64)")
        endif()
        list(APPEND keys ${key})
    endforeach()
    set(${out} ${keys} PARENT_SCOPE)
endfunction()

function(_vn274_not_a_key_file key_file)
    message(FATAL_ERROR "vn274: the release key file ${key_file} is not a minisign public key file "
                        "(two lines a key: \"untrusted comment: ...\" and the key in base64, starting with RW)")
endfunction()

# The key id as minisign shows it: bytes 2 to 9 of the key, read as a
# little-endian number, in 16 hex digits. The first 16 characters of the
# base64 hold bytes 0 to 11.
function(_vn274_release_key_id key out)
    set(alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
    set(bytes "")
    foreach(group 0 4 8 12)
        set(value 0)
        foreach(offset RANGE 0 3)
            math(EXPR at "${group} + ${offset}")
            string(SUBSTRING "${key}" ${at} 1 character)
            string(FIND "${alphabet}" "${character}" digit)
            math(EXPR value "(${value} << 6) | ${digit}")
        endforeach()
        foreach(shift 16 8 0)
            math(EXPR byte "((${value} >> ${shift}) & 255) + 256" OUTPUT_FORMAT HEXADECIMAL)
            string(SUBSTRING "${byte}" 3 2 byte)   # 0x1ab: two digits, with a leading zero
            list(APPEND bytes ${byte})
        endforeach()
    endforeach()
    set(id "")
    foreach(from_end RANGE 0 7)
        math(EXPR at "9 - ${from_end}")
        list(GET bytes ${at} byte)
        string(APPEND id ${byte})
    endforeach()
    string(TOUPPER "${id}" id)
    set(${out} ${id} PARENT_SCOPE)
endfunction()

function(_vn274_write_release_key key origin output)
    file(CONFIGURE OUTPUT "${output}" CONTENT
"// Generated by the build (@origin@): the maker's release keys, the base64
// lines of minisign's public key files, one a line. Do not edit; change those
// files instead.
#include \"upgrade/pinnedreleasekey.h\"

extern const char pinnedReleaseKeyText[] = \"@key@\";
" @ONLY)
endfunction()
