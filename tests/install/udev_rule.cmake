# The device access rule: checked by `udevadm verify` where the installed udev
# has it, and always read key by key here. udev only logs a line it cannot
# parse, and a value that can never match (an upper-case id) passes unnoticed.
# usage: cmake -DRULES=<file.rules> -P udev_rule.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../common/failures.cmake)

# udev reads only *.rules, in the order of their names; the uaccess tag has to be
# set before the seat manager's 73-seat-late.rules turns it into access rights.
cmake_path(GET RULES FILENAME name)
if(NOT name MATCHES "^([0-9][0-9])-[A-Za-z0-9_.-]+\\.rules$")
    fail("${name}: not a NN-name.rules file name")
elseif(CMAKE_MATCH_1 GREATER_EQUAL 73)
    fail("${name}: ordered after 73-seat-late.rules, the uaccess tag would come too late")
endif()

execute_process(COMMAND udevadm verify --help RESULT_VARIABLE no_verify OUTPUT_QUIET ERROR_QUIET)
if(no_verify EQUAL 0)
    execute_process(COMMAND udevadm verify --resolve-names=never ${RULES}
                    RESULT_VARIABLE verified OUTPUT_VARIABLE report ERROR_VARIABLE report)
    if(NOT verified EQUAL 0)
        fail("udevadm verify:\n${report}")
    endif()
else()
    message("udevadm verify is not available here: reading the rule's keys only")
endif()

# Which operators each key takes: match (== !=) or assignment (= += -= :=).
set(match_keys ACTION DEVPATH KERNEL KERNELS SUBSYSTEM SUBSYSTEMS DRIVER DRIVERS
    ATTRS TAGS TEST PROGRAM RESULT CONST SYSCTL)
set(assign_keys OWNER GROUP MODE RUN NAME OPTIONS LABEL GOTO IMPORT SECLABEL)
set(both_keys ATTR ENV TAG SYMLINK)
# Keys written as KEY{attribute}.
set(attribute_keys ATTR ATTRS ENV TEST IMPORT RUN SECLABEL SYSCTL CONST)

file(STRINGS ${RULES} lines)
set(rules 0)
foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*(#|$)")
        continue()
    endif()
    if(line MATCHES "\\\\$")
        fail("line continuations are not used: ${line}")
        continue()
    endif()
    math(EXPR rules "${rules} + 1")
    set(pairs)
    set(rest "${line}")
    while(NOT rest STREQUAL "")
        if(NOT rest MATCHES "^[ \t]*([A-Z_]+)({[^}]*})?[ \t]*(==|!=|\\+=|-=|:=|=)[ \t]*\"([^\"]*)\"[ \t]*(,|$)(.*)$")
            fail("cannot read a key from: ${rest}")
            break()
        endif()
        set(key ${CMAKE_MATCH_1})
        set(attribute "${CMAKE_MATCH_2}")
        set(op ${CMAKE_MATCH_3})
        set(value "${CMAKE_MATCH_4}")
        set(separator "${CMAKE_MATCH_5}")
        set(rest "${CMAKE_MATCH_6}")
        if(separator STREQUAL "" AND NOT rest STREQUAL "")
            fail("no comma before: ${rest}")
        endif()
        if(key IN_LIST match_keys)
            set(ops "==;!=")
        elseif(key IN_LIST assign_keys)
            set(ops "=;+=;-=;:=")
        elseif(key IN_LIST both_keys)
            set(ops "==;!=;=;+=;-=;:=")
        else()
            fail("unknown key ${key}")
            continue()
        endif()
        if(NOT op IN_LIST ops)
            fail("${key} does not take ${op}")
        endif()
        if(key IN_LIST attribute_keys AND attribute STREQUAL "" AND NOT key MATCHES "^(IMPORT|RUN|TEST)$")
            fail("${key} without {attribute}")
        elseif(NOT key IN_LIST attribute_keys AND NOT attribute STREQUAL "")
            fail("${key} takes no {attribute}")
        endif()
        list(APPEND pairs "${key}${attribute}${op}\"${value}\"")
    endwhile()
endforeach()

if(NOT rules EQUAL 1)
    fail("expected one rule, found ${rules}")
endif()

# What the rule has to say. sysfs shows the ids in lower-case hex, so "16C0"
# would never match.
foreach(needed
        "SUBSYSTEM==\"usb\""
        "ATTR{idVendor}==\"16c0\""
        "ATTR{idProduct}==\"0789\""
        "TAG+=\"uaccess\""
        "MODE=\"0660\""
        "GROUP=\"plugdev\"")
    if(NOT needed IN_LIST pairs)
        fail("the rule lacks ${needed} (it has: ${pairs})")
    endif()
endforeach()

finish_checks("udev rule as expected: ${pairs}")
