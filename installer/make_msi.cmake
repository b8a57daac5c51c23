# Runs wixl on lumvia.wxs with the saver's size in KiB for Add/Remove
# Programs. Run with -DWIXL -DWXS -DARCH -DVERSION -DPRODUCT_CODE -DSAVER
# -DICON -DOUTPUT (absolute paths).
file(SIZE ${SAVER} bytes)
math(EXPR kib "(${bytes} + 1023) / 1024")
# wixl finds the files relative to the folder of the .wxs.
get_filename_component(wxs_dir ${WXS} DIRECTORY)
file(RELATIVE_PATH saver ${wxs_dir} ${SAVER})
file(RELATIVE_PATH icon ${wxs_dir} ${ICON})
execute_process(COMMAND ${WIXL} -a ${ARCH} -D Arch=${ARCH} -D Version=${VERSION}
                        -D ProductCode=${PRODUCT_CODE} -D SizeKiB=${kib} -D Saver=${saver}
                        -D Icon=${icon} -o ${OUTPUT} ${WXS}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "wixl failed (${result})")
endif()
