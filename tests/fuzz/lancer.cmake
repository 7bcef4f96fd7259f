# One fuzz test: replay the kept crash inputs, then fuzz from a copy of the
# seeds. A crash leaves its input in the scratch folder (crash-*), to be
# moved to the regressions folder once the fault is mended.
file(REMOVE_RECURSE ${TRAVAIL})
file(MAKE_DIRECTORY ${TRAVAIL}/corpus)
file(GLOB graines ${GRAINES}/*)
if(graines)
  file(COPY ${graines} DESTINATION ${TRAVAIL}/corpus)
endif()

file(GLOB regressions ${REGRESSIONS}/*)
if(regressions)
  execute_process(COMMAND ${PROGRAMME} ${regressions} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "a kept crash input fails again (${rc})")
  endif()
endif()

execute_process(COMMAND ${PROGRAMME} ${TRAVAIL}/corpus -max_total_time=${DUREE} -timeout=5 -max_len=8192
                        -artifact_prefix=${TRAVAIL}/ -print_final_stats=1
                WORKING_DIRECTORY ${TRAVAIL}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  file(GLOB trouvailles ${TRAVAIL}/crash-* ${TRAVAIL}/timeout-* ${TRAVAIL}/leak-* ${TRAVAIL}/oom-*)
  message(FATAL_ERROR "the fuzzer stopped (${rc}) on: ${trouvailles}")
endif()
