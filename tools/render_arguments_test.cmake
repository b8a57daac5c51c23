# lumvia-render refuses bad arguments with a message and exit code 2, and
# reports a context that cannot be made with exit code 1. Run with
# -DRENDER=<lumvia-render> -DOUT=<scratch png>.
function(expect_refusal code pattern)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result ERROR_VARIABLE error OUTPUT_QUIET)
  if(NOT result EQUAL code OR NOT error MATCHES "${pattern}")
    message(FATAL_ERROR "${ARGN}: exit ${result}, said: ${error}")
  endif()
endfunction()

expect_refusal(2 "--module is missing" ${RENDER} --out ${OUT})
expect_refusal(2 "--module takes 1 to 10" ${RENDER} --module 11 --out ${OUT})
expect_refusal(2 "--module takes 1 to 10" ${RENDER} --module 1x --out ${OUT})
expect_refusal(2 "--frames takes" ${RENDER} --module 1 --frames 0 --out ${OUT})
expect_refusal(2 "--size takes WxH" ${RENDER} --module 1 --size 640 --out ${OUT})
expect_refusal(2 "--size takes WxH" ${RENDER} --module 1 --size 0x480 --out ${OUT})
expect_refusal(2 "--out or --gif is missing" ${RENDER} --module 1)
expect_refusal(2 "--module takes 1 to 10 or all" ${RENDER} --module every --out ${OUT})
expect_refusal(2 "--every takes 1 to 1000" ${RENDER} --module 1 --gif ${OUT} --every 0)
expect_refusal(2 "no frame to keep" ${RENDER} --module 1 --frames 3 --every 4 --gif ${OUT})
expect_refusal(2 "unknown argument" ${RENDER} --module 1 --out ${OUT} --colour)
# No EGL vendor library to be found: no context.
expect_refusal(1 "no OpenGL context" ${CMAKE_COMMAND} -E env
               __EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent/vendor.json
               ${RENDER} --module 1 --out ${OUT})
