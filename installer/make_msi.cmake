# Runs wixl on lumvia.wxs with the programs' size in KiB for Add/Remove
# Programs, then gives each program's row of the File table its version.
# Run with -DWIXL -DMSIBUILD -DWXS -DARCH -DVERSION -DPRODUCT_CODE -DSAVER
# -DLAUNCHER -DICON -DOUTPUT (absolute paths).

# The version in a program's own version resource, as major.minor.build.revision:
# the fixed file information that follows the key "VS_VERSION_INFO" (UTF-16)
# and begins with its signature 0xFEEF04BD.
function(program_version program out)
  file(READ ${program} hex HEX)
  string(FIND "${hex}" "560053005f00560045005200530049004f004e005f0049004e0046004f00" key)
  if(key LESS 0)
    message(FATAL_ERROR "${program} has no version resource")
  endif()
  string(SUBSTRING "${hex}" ${key} 400 after_key)
  string(FIND "${after_key}" "bd04effe" signature)
  if(signature LESS 0)
    message(FATAL_ERROR "${program}'s version resource has no fixed file information")
  endif()
  # The signature, the structure's version, then the file version's two
  # 32-bit halves, little-endian: each half holds two 16-bit numbers.
  math(EXPR at "${signature} + 16")
  set(numbers)
  foreach(offset 4 0 12 8)
    math(EXPR low "${at} + ${offset}")
    math(EXPR high "${low} + 2")
    string(SUBSTRING "${after_key}" ${low} 2 low_byte)
    string(SUBSTRING "${after_key}" ${high} 2 high_byte)
    math(EXPR number "0x${high_byte}${low_byte}")
    list(APPEND numbers ${number})
  endforeach()
  list(JOIN numbers "." version)
  set(${out} ${version} PARENT_SCOPE)
endfunction()

file(SIZE ${SAVER} saver_bytes)
file(SIZE ${LAUNCHER} launcher_bytes)
math(EXPR kib "(${saver_bytes} + 1023) / 1024 + (${launcher_bytes} + 1023) / 1024")
# wixl finds the files relative to the folder of the .wxs.
get_filename_component(wxs_dir ${WXS} DIRECTORY)
file(RELATIVE_PATH saver ${wxs_dir} ${SAVER})
file(RELATIVE_PATH launcher ${wxs_dir} ${LAUNCHER})
file(RELATIVE_PATH icon ${wxs_dir} ${ICON})
execute_process(COMMAND ${WIXL} -a ${ARCH} -D Arch=${ARCH} -D Version=${VERSION}
                        -D ProductCode=${PRODUCT_CODE} -D SizeKiB=${kib} -D Saver=${saver}
                        -D Launcher=${launcher} -D Icon=${icon} -o ${OUTPUT} ${WXS}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "wixl failed (${result})")
endif()

# wixl leaves the File table's versions empty, and Windows Installer takes a
# file without one for unversioned: an older copy that has a version would
# win over it.
program_version(${SAVER} saver_version)
program_version(${LAUNCHER} launcher_version)
execute_process(COMMAND ${MSIBUILD} ${OUTPUT} -q
  "UPDATE `File` SET `Version` = '${saver_version}', `Language` = '1033' WHERE `File` = 'lumvia.scr'"
  -q "UPDATE `File` SET `Version` = '${launcher_version}', `Language` = '1033' WHERE `File` = 'lumvia_settings.exe'"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "msibuild failed (${result})")
endif()
