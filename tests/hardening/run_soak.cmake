# The soak: the autopilot writes a long script, quarzel-replay plays it, and
# soak_check reads the trace as it comes (nothing large is kept on disk).
#   cmake -DAUTOPILOT=... -DREPLAY=... -DCHECK=... -DWORK=... -DTICKS=N -DGAMES=G -P run_soak.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(
    COMMAND ${AUTOPILOT} --ticks ${TICKS} --seed 7
    OUTPUT_FILE ${WORK}/soak.script
    ERROR_VARIABLE pilot_log
    RESULT_VARIABLE pilot_rc
    WORKING_DIRECTORY ${WORK})
message(STATUS "${pilot_log}")
if(NOT pilot_rc EQUAL 0)
    message(FATAL_ERROR "quarzel-autopilot failed (${pilot_rc})")
endif()
execute_process(
    COMMAND ${REPLAY} soak.script
    COMMAND ${CHECK} --min-ticks ${TICKS} --min-games ${GAMES}
    RESULTS_VARIABLE rcs
    OUTPUT_VARIABLE check_out
    ERROR_VARIABLE errors
    WORKING_DIRECTORY ${WORK})
message(STATUS "${check_out}${errors}")
list(GET rcs 0 replay_rc)
list(GET rcs 1 check_rc)
if(NOT replay_rc EQUAL 0 OR NOT check_rc EQUAL 0)
    message(FATAL_ERROR "soak failed: quarzel-replay exit ${replay_rc}, soak_check exit ${check_rc}")
endif()
# The script is kept for a look afterwards; the trace was never stored.
