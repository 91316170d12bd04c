# Runs one command-line tool and checks its exit code and output.
#   TOOL           the program
#   ARGS           its arguments, separated by "|"
#   EXPECT_RC      the exit code it must return
#   EXPECT_STDOUT  regular expressions, separated by "|", that stdout must contain; "@NL@"
#                  stands for a line break
#   EXPECT_STDERR  a regular expression stderr must match; stderr must then be one line
string(REPLACE "|" ";" args "${ARGS}")
execute_process(COMMAND ${TOOL} ${args} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc STREQUAL EXPECT_RC)
    message(FATAL_ERROR "exit code ${rc}, expected ${EXPECT_RC}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(EXPECT_STDOUT)
    string(REPLACE "@NL@" "\n" expected "${EXPECT_STDOUT}")
    string(REPLACE "|" ";" expected_lines "${expected}")
    foreach(line IN LISTS expected_lines)
        if(NOT out MATCHES "${line}")
            message(FATAL_ERROR "stdout lacks '${line}':\n${out}")
        endif()
    endforeach()
endif()
if(EXPECT_STDERR)
    string(REPLACE "@NL@" "\n" expected_err "${EXPECT_STDERR}")
    if(NOT err MATCHES "${expected_err}")
        message(FATAL_ERROR "stderr '${err}' does not match '${EXPECT_STDERR}'")
    endif()
    string(REGEX MATCHALL "\n" newlines "${err}")
    list(LENGTH newlines newline_count)
    if(NOT newline_count EQUAL 1)
        message(FATAL_ERROR "stderr is not one line: '${err}'")
    endif()
endif()
