# Renders one module with lumvia-render and compares the picture with its
# reference with lumvia-image-check. Run by the image_<name> tests.
get_filename_component(folder ${ACTUAL} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
execute_process(COMMAND ${RENDER} --module ${MODULE} --frames ${FRAMES} --size ${SIZE}
                        --out ${ACTUAL}
                RESULT_VARIABLE rendered)
if(NOT rendered EQUAL 0)
  message(FATAL_ERROR "lumvia-render failed: ${rendered}")
endif()
execute_process(COMMAND ${CHECK} ${ACTUAL} ${REFERENCE} RESULT_VARIABLE compared)
if(NOT compared EQUAL 0)
  message(FATAL_ERROR "${ACTUAL} does not match ${REFERENCE}")
endif()
