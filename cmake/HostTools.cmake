# Build-time tools (art generators and the like) run on the build machine, so they are compiled
# with the host's C++ compiler, not the cross compiler.
#
# quillet_host_tool(<name> SOURCES <files...> [LIBS <host libraries...>])
#   Builds ${CMAKE_BINARY_DIR}/host/<name> and sets QUILLET_HOST_TOOL_<name> to its path in the
#   parent scope, for add_custom_command(... COMMAND ${QUILLET_HOST_TOOL_<name>} ... DEPENDS ...).
find_program(QUILLET_HOST_CXX NAMES c++ g++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)

function(quillet_host_tool name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  set(out ${CMAKE_BINARY_DIR}/host/${name})
  set(libs "")
  foreach(l ${ARG_LIBS})
    list(APPEND libs -l${l})
  endforeach()
  set(srcs "")
  foreach(s ${ARG_SOURCES})
    get_filename_component(abs ${s} ABSOLUTE)
    list(APPEND srcs ${abs})
  endforeach()
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
    COMMAND ${QUILLET_HOST_CXX} -std=c++20 -O2 -Wall -Wextra -o ${out} ${srcs} ${libs}
    DEPENDS ${srcs}
    COMMENT "Building host tool ${name}")
  add_custom_target(host_${name} DEPENDS ${out})
  set(QUILLET_HOST_TOOL_${name} ${out} PARENT_SCOPE)
endfunction()
