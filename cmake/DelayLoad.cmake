# Import libraries whose DLLs load at a function's first call instead of at the
# program's start: under Wine shell32 alone brings in shcore and shlwapi, about
# 15 ms before the first window, and none of these is needed to show it.
# Each .def in cmake/delayload lists the functions the program calls, with
# their i686 stack sizes; a function missing there binds to the normal import
# library and loads its DLL at start again.
# Sets `out` to the libraries and `out_options` to the link options they need;
# the custom target `target` makes them.
function(tsaver_delay_load_libraries out target)
  set(libraries)
  set(options)
  foreach(def ${ARGN})
    get_filename_component(name ${def} NAME_WE)
    set(arch_def ${CMAKE_BINARY_DIR}/delayload/${name}.def)
    set(library ${CMAKE_BINARY_DIR}/delayload/lib${name}_delay.a)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
      # x86_64 names carry no stack size.
      file(READ ${def} text)
      string(REGEX REPLACE "@[0-9]+" "" text "${text}")
      file(WRITE ${arch_def} "${text}")
      set(kill_at)
    else()
      configure_file(${def} ${arch_def} COPYONLY)
      set(kill_at --kill-at)
      # The i686 linker keeps a delay-load stub's code only when its symbol is
      # referenced; calls through __imp_ (dllimport) do not, so the slot they
      # jump through would stay zero and the first call would jump to address 0.
      file(STRINGS ${def} exports REGEX "^[A-Za-z_][A-Za-z0-9_]*@[0-9]+$")
      foreach(function ${exports})
        list(APPEND options "LINKER:--undefined=_${function}")
      endforeach()
    endif()
    add_custom_command(OUTPUT ${library}
                       COMMAND ${CMAKE_DLLTOOL} --input-def ${arch_def} ${kill_at} --output-delaylib ${library}
                       DEPENDS ${def} VERBATIM)
    list(APPEND libraries ${library})
  endforeach()
  add_custom_target(${target} DEPENDS ${libraries})
  set(${out} ${libraries} PARENT_SCOPE)
  set(${out}_options ${options} PARENT_SCOPE)
endfunction()
