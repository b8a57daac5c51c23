# Makes OUTPUT, a delay-import library for the DLL named DLL, from LIB, the
# MinGW import library of that DLL: every function LIB imports, as NM lists
# it, written as a module definition for DLLTOOL. The library's own symbols
# are named after OUTPUT, a file name in the current folder. Run with -DNM
# -DDLLTOOL -DLIB (absolute paths) -DDLL -DOUTPUT.
execute_process(COMMAND ${NM} ${LIB} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
# "__imp_glClear" on x86_64; "__imp__glClear@4" on i686, whose C names begin
# with an underscore.
string(REGEX MATCHALL " I __imp_[^\n]+" imports "${symbols}")
set(definition "LIBRARY ${DLL}\nEXPORTS\n")
# A decorated name ("@4") marks the i686 library, where each C name loses its
# underscore in the definition.
set(underscore "")
if(imports MATCHES "@[0-9]+")
  set(underscore "_")
endif()
foreach(import IN LISTS imports)
  string(REGEX REPLACE "^ I __imp_${underscore}" "" name "${import}")
  string(APPEND definition "${name}\n")
endforeach()
file(WRITE ${OUTPUT}.def "${definition}")
# Undecorated names in the DLL (--kill-at), as the system's DLLs export them.
execute_process(COMMAND ${DLLTOOL} --input-def ${OUTPUT}.def --output-delaylib ${OUTPUT} --kill-at
                COMMAND_ERROR_IS_FATAL ANY)
