# Import libraries whose DLLs load at a function's first call instead of at the
# program's start: under Wine shell32 alone brings in shcore and shlwapi, about
# 15 ms before the first window, and none of these is needed to show it.
# Each .def in cmake/delayload lists the functions the program calls, with
# their i686 stack sizes; a function missing there binds to the normal import
# library and loads its DLL at start again.
function(tsaver_delay_load_libraries out)
  set(libraries)
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
    endif()
    add_custom_command(OUTPUT ${library}
                       COMMAND ${CMAKE_DLLTOOL} --input-def ${arch_def} ${kill_at} --output-delaylib ${library}
                       DEPENDS ${def} VERBATIM)
    list(APPEND libraries ${library})
  endforeach()
  add_custom_target(tsaver_delay_load DEPENDS ${libraries})
  set(${out} ${libraries} PARENT_SCOPE)
endfunction()
