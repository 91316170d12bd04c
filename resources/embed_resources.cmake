# Writes a C++ source that holds resource files as byte arrays and lists them in the table
# of embedded_resources.h. A resource is known by a number (205) or by a name (BOUNCE).
#   cmake -DOUTPUT=out.cpp -DENTRIES="id=type=path|name=type=path|..." -P embed_resources.cmake
if(NOT OUTPUT OR NOT ENTRIES)
    message(FATAL_ERROR "embed_resources.cmake needs OUTPUT and ENTRIES")
endif()

string(REPLACE "|" ";" entry_list "${ENTRIES}")
set(arrays "")
set(table "")
set(index 0)
foreach(entry IN LISTS entry_list)
    string(REGEX MATCH "^([0-9A-Za-z_]+)=([^=]+)=(.+)$" matched "${entry}")
    if(NOT matched)
        message(FATAL_ERROR "bad resource entry '${entry}'")
    endif()
    set(key "${CMAKE_MATCH_1}")
    set(type "${CMAKE_MATCH_2}")
    set(path "${CMAKE_MATCH_3}")
    if(key MATCHES "^[0-9]+$")
        set(key ".id = ${key}")
    else()
        set(key ".name = \"${key}\"")
    endif()
    file(READ "${path}" hex HEX)
    string(LENGTH "${hex}" hex_length)
    if(hex_length EQUAL 0)
        message(FATAL_ERROR "resource file '${path}' is empty")
    endif()
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
    string(APPEND arrays "const std::uint8_t kResource${index}[] = {\n    ${bytes}\n};\n\n")
    string(APPEND table "    {${key}, .typeName = \"${type}\", .data = kResource${index},\n"
                        "     .size = sizeof kResource${index}},\n")
    math(EXPR index "${index} + 1")
endforeach()

file(WRITE "${OUTPUT}.tmp" "// Generated at build time from the resource files; do not edit.

#include \"resources/embedded_resources.h\"

namespace tetrakon {
namespace {

${arrays}const EmbeddedResource kTable[] = {
${table}};

}  // namespace

std::span<const EmbeddedResource> EmbeddedResources() { return kTable; }

}  // namespace tetrakon
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
