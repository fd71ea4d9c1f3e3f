# Failures of a test script run with cmake -P: fail() counts and reports one,
# finish_checks() ends the script with an error if any was reported.
set(failures 0)
macro(fail message)
    message("FAIL: ${message}")
    math(EXPR failures "${failures} + 1")
endmacro()

macro(finish_checks success)
    if(failures GREATER 0)
        message(FATAL_ERROR "${failures} failure(s)")
    endif()
    message("${success}")
endmacro()
