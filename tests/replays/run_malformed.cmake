# Feeds each malformed/NAME.script to quarzel-replay on standard input and
# checks that it refuses it before running anything: exit code 2, no trace,
# and exactly the message of malformed/NAME.error. One line per failure.
#   cmake -DREPLAY=... -DDIR=this/folder -DWORK=scratch -P run_malformed.cmake
file(GLOB scripts ${DIR}/malformed/*.script)
set(failed 0)
file(MAKE_DIRECTORY ${WORK})
foreach(script IN LISTS scripts)
    get_filename_component(name ${script} NAME_WE)
    execute_process(COMMAND ${REPLAY} - INPUT_FILE ${script} WORKING_DIRECTORY ${WORK}
                    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
    file(READ ${DIR}/malformed/${name}.error want)
    if(NOT rc STREQUAL "2")
        message("FAILED ${name}: exit code ${rc}, not 2")
        math(EXPR failed "${failed} + 1")
    elseif(NOT out STREQUAL "")
        message("FAILED ${name}: it ran and wrote: ${out}")
        math(EXPR failed "${failed} + 1")
    elseif(NOT err STREQUAL want)
        message("FAILED ${name}: said '${err}', not '${want}'")
        math(EXPR failed "${failed} + 1")
    endif()
endforeach()
list(LENGTH scripts total)
if(failed)
    message(FATAL_ERROR "${failed} of ${total} malformed scripts were not refused as they should be")
endif()
message("${total} malformed scripts refused")
