# Memory check of a long session: the autopilot plays games of 1,500 to 2,500
# ball ticks (new game, game over, new game...) with pauses, language
# switches and info boxes between, then quits; quarzel-replay plays the
# script under valgrind's memcheck, which must find no error and no leak.
#   cmake -DAUTOPILOT=... -DREPLAY=... -DVALGRIND=... -DWORK=... -P run_valgrind.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(
    COMMAND ${AUTOPILOT} --ticks 12000 --game 1500-2500 --interludes 300 --seed 11
    OUTPUT_FILE ${WORK}/memcheck.script
    ERROR_VARIABLE pilot_log
    RESULT_VARIABLE pilot_rc)
message(STATUS "${pilot_log}")
if(NOT pilot_rc EQUAL 0)
    message(FATAL_ERROR "quarzel-autopilot failed (${pilot_rc})")
endif()

# The session must hold what it is meant to.
file(READ ${WORK}/memcheck.script script)
string(REGEX MATCHALL "\nmenu 101\n" new_games "${script}")
list(LENGTH new_games n_new)
if(n_new LESS 3 OR NOT script MATCHES "\nmenu 107\n" OR NOT script MATCHES "\nmenu 106\n"
   OR NOT script MATCHES "\nmenu 102\n$")
    message(FATAL_ERROR "the script lacks new games, language switches or the final Quit")
endif()

execute_process(
    COMMAND ${VALGRIND} --quiet --error-exitcode=99 --leak-check=full
            --errors-for-leak-kinds=definite,indirect --show-leak-kinds=definite,indirect
            --track-origins=yes ${REPLAY} memcheck.script
    OUTPUT_VARIABLE trace
    ERROR_VARIABLE report
    RESULT_VARIABLE rc
    WORKING_DIRECTORY ${WORK})
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "memcheck found errors or leaks (exit ${rc}):\n${report}")
endif()
string(REGEX MATCHALL "dead\\.wav" over "${trace}")
list(LENGTH over n_over)
if(n_over LESS 2 OR NOT trace MATCHES "{\"exit\":0}\n$")
    message(FATAL_ERROR "the session did not end two games and quit cleanly")
endif()
message(STATUS "memcheck clean: ${n_new} new games, ${n_over} games over")
