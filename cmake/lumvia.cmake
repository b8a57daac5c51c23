# Shared build settings: warnings as errors for our own code, sanitizers for
# the native build, fuzzing instrumentation for the fuzz build, static linking
# for Windows programs.

# Compile options for every target of this project (not for googletest).
function(lumvia_target target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror
                         -Wshadow -Wcast-qual -Wformat=2)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  if(LUMVIA_FUZZ)
    # Coverage for libFuzzer in every object; the fuzz targets link the fuzzer.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined
                           -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  elseif(LUMVIA_SANITIZE AND NOT WIN32)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined
                           -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  if(WIN32)
    target_compile_definitions(${target} PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX
                               _WIN32_WINNT=0x0601)
  endif()
endfunction()

# A Windows program: statically linked, so that its import table names only
# system DLLs.
function(lumvia_windows_program target)
  lumvia_target(${target})
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  set_property(GLOBAL APPEND PROPERTY LUMVIA_WINDOWS_PROGRAMS ${target})
endfunction()

# The build of the Debian package takes the distribution's compiler and linker
# flags (hardening: stack protector, fortified functions, full RELRO, bind
# now), as dpkg-buildflags gives them.
option(LUMVIA_DEBIAN_FLAGS "Build with the flags of dpkg-buildflags" OFF)
if(LUMVIA_DEBIAN_FLAGS)
  foreach(kind CPPFLAGS CFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                            dpkg-buildflags --get ${kind}
                    OUTPUT_VARIABLE debian_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  string(APPEND CMAKE_C_FLAGS " ${debian_CPPFLAGS} ${debian_CFLAGS}")
  string(APPEND CMAKE_CXX_FLAGS " ${debian_CPPFLAGS} ${debian_CXXFLAGS}")
  foreach(kind EXE SHARED MODULE)
    string(APPEND CMAKE_${kind}_LINKER_FLAGS " ${debian_LDFLAGS}")
  endforeach()
endif()

if(WIN32)
  # Windows tests run under Wine with a private prefix inside the build folder
  # (the i686 build's is a 32-bit one: the test preset names it).
  set(LUMVIA_WINE "${PROJECT_SOURCE_DIR}/scripts/wine-run")
  set(CMAKE_CROSSCOMPILING_EMULATOR "${LUMVIA_WINE}")
  set(LUMVIA_CAN_RUN_WINDOWS ON)
else()
  set(LUMVIA_CAN_RUN_WINDOWS OFF)
endif()
