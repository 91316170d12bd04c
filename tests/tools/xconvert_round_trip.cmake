# Converts INPUT to text, that text to compressed, and the compressed file back to text;
# both texts must be identical and the compressed file must carry the bzip header.
file(MAKE_DIRECTORY ${WORK})
foreach(step "${INPUT};${WORK}/first.x;--text"
             "${WORK}/first.x;${WORK}/packed.x;--compressed"
             "${WORK}/packed.x;${WORK}/second.x;--text")
    execute_process(COMMAND ${XCONVERT} ${step} RESULT_VARIABLE rc ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "xconvert ${step} failed (${rc}): ${err}")
    endif()
endforeach()
file(READ ${WORK}/packed.x header LIMIT 16 HEX)
if(NOT header STREQUAL "786f662030333033627a697030303332")
    message(FATAL_ERROR "compressed output starts with '${header}'")
endif()
file(READ ${WORK}/first.x first)
file(READ ${WORK}/second.x second)
if(NOT first STREQUAL second)
    message(FATAL_ERROR "text differs after a compressed round trip")
endif()
