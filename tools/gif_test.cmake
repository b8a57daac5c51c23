# lumvia-render --module all --gif: ten modules of 8 frames, every 4th kept,
# give 20 frames of the asked size, each shown 4 x 30 ms; frame 6 (module 3,
# its frame 8) matches the PNG of module 3 drawn alone for 8 frames, and the
# GIF keeps that picture's black background plain black.
# Run with -DRENDER=<lumvia-render> -DCHECK=<lumvia-image-check> -DWORK=<folder>.
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${RENDER} --module all --frames 8 --every 4 --size 160x120
                        --gif ${WORK}/all.gif
                RESULT_VARIABLE rendered)
execute_process(COMMAND ${RENDER} --module 3 --frames 8 --size 160x120 --out ${WORK}/joy.png
                RESULT_VARIABLE rendered_alone)
if(NOT rendered EQUAL 0 OR NOT rendered_alone EQUAL 0)
  message(FATAL_ERROR "lumvia-render failed: ${rendered}, ${rendered_alone}")
endif()
execute_process(COMMAND ${CHECK} --frame 6 ${WORK}/all.gif ${WORK}/joy.png
                RESULT_VARIABLE compared OUTPUT_VARIABLE said)
message("${said}")
if(NOT said MATCHES "20 frames of 160x120, 12/100 s each")
  message(FATAL_ERROR "the GIF is not 20 frames of 160x120, 12/100 s each")
endif()
if(NOT compared EQUAL 0)
  message(FATAL_ERROR "frame 6 of the GIF does not match the PNG of the same frame")
endif()
