# Writes a C++ source holding every resource the manifest lists, as byte
# arrays with their upper-case names. Run by the build whenever the manifest
# or one of the files changes.
#   cmake -DMANIFEST=... -DSRC_DIR=... -DOUT=... -P embed.cmake
file(STRINGS "${MANIFEST}" lines)
set(arrays "")
set(table "")
set(count 0)
foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^#")
        continue()
    endif()
    separate_arguments(parts UNIX_COMMAND "${line}")
    list(GET parts 0 name)
    list(GET parts 1 type)
    list(GET parts 2 path)
    string(TOUPPER "${name}" name)
    if(type STREQUAL "BITMAP")
        set(kind "ResourceType::Bitmap")
    elseif(type STREQUAL "ICON")
        set(kind "ResourceType::Icon")
    elseif(type STREQUAL "MENU")
        set(kind "ResourceType::Menu")
    else()
        message(FATAL_ERROR "embed: unknown resource type ${type} in ${MANIFEST}")
    endif()
    file(READ "${SRC_DIR}/${path}" hex HEX)
    string(LENGTH "${hex}" hexlen)
    math(EXPR size "${hexlen} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    " bytes "${bytes}")
    string(APPEND arrays "static const std::uint8_t k_res${count}[] = {\n    ${bytes}\n};\n")
    string(APPEND table "    {\"${name}\", ${kind}, k_res${count}, ${size}},\n")
    math(EXPR count "${count} + 1")
endforeach()
file(WRITE "${OUT}.tmp"
"// Generated from ${MANIFEST}; do not edit.\n"
"#include \"platform/resources.h\"\n\n"
"${arrays}\n"
"const Resource g_resources[] = {\n${table}    {nullptr, ResourceType::Bitmap, nullptr, 0},\n};\n"
"const std::size_t g_resourceCount = ${count};\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different "${OUT}.tmp" "${OUT}")
file(REMOVE "${OUT}.tmp")
