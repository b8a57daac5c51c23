# Regenerates the sprite texture and compares it byte for byte with the
# committed resources/sprite.tga, so the two can never drift apart.
# Run with -DGENERATOR=<make_sprite> -DCOMMITTED=<sprite.tga> -DOUTPUT=<scratch file>.
execute_process(COMMAND ${GENERATOR} ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "make_sprite failed: ${result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${COMMITTED}
                RESULT_VARIABLE different)
if(NOT different EQUAL 0)
  message(FATAL_ERROR "${COMMITTED} is not what make_sprite writes; regenerate it with "
                      "make_sprite ${COMMITTED}")
endif()
