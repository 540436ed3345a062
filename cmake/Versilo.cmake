# Build helpers shared by every deliverable.

# versilo_add_test(NAME SOURCES ... [LIBS ...] [LABELS ...])
# One test program, run under Wine as one CTest test.
function(versilo_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VERSILO_TEST_DIR})
  target_compile_definitions(${name} PRIVATE VERSILO_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                             VERSILO_BINARY_DIR="${CMAKE_BINARY_DIR}")
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${VERSILO_TEST_DIR})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  # Wine keeps the user's locale formats in the prefix's registry and rewrites them when a
  # process of another locale starts. Every test runs in the program's own locale, so those
  # running side by side never rewrite them under each other; a test of another locale runs
  # alone (RUN_SERIAL).
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "VERSILO_HEADLESS=1;GTEST_COLOR=no;LC_ALL=nb_NO.UTF-8"
    TIMEOUT ${T_TIMEOUT})
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# versilo_decorated_exports(TARGET DEF)
# Exports a library's standard-call functions under their decorated names
# ("_Name@N", as the importing programs bind them) and makes an import library,
# TARGET_imports, that maps the C-level symbol Name@N to that export.
function(versilo_decorated_exports target def)
  get_filename_component(def ${def} ABSOLUTE)
  target_sources(${target} PRIVATE ${def})
  # Only what the .def names is exported, never every global symbol.
  target_link_options(${target} PRIVATE -Wl,--exclude-all-symbols)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
  file(STRINGS ${def} lines)
  set(imp "LIBRARY ${target}.dll\nEXPORTS\n")
  set(names "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*_([A-Za-z0-9_]+@[0-9]+)")
      string(APPEND imp "  ${CMAKE_MATCH_1} == _${CMAKE_MATCH_1}\n")
      string(APPEND names "\"_${CMAKE_MATCH_1}\",\n")
    endif()
  endforeach()
  # The list of decorated names, for the test that looks each one up in the built DLL.
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${target}-exports.inc.tmp "${names}")
  file(COPY_FILE ${CMAKE_CURRENT_BINARY_DIR}/${target}-exports.inc.tmp
       ${CMAKE_CURRENT_BINARY_DIR}/${target}-exports.inc ONLY_IF_DIFFERENT)
  set(impdef ${CMAKE_CURRENT_BINARY_DIR}/${target}-imports.def)
  set(implib ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}/lib${target}-imports.a)
  file(WRITE ${impdef}.tmp "${imp}")
  file(COPY_FILE ${impdef}.tmp ${impdef} ONLY_IF_DIFFERENT)
  add_custom_command(OUTPUT ${implib}
    COMMAND ${CMAKE_DLLTOOL} -d ${impdef} -l ${implib}
    DEPENDS ${impdef} VERBATIM)
  add_custom_target(${target}_implib DEPENDS ${implib})
  add_library(${target}_imports INTERFACE)
  target_link_libraries(${target}_imports INTERFACE ${implib})
  add_dependencies(${target}_imports ${target}_implib ${target})
endfunction()

# versilo_late_dependency(TARGET OTHER)
# Makes TARGET depend on OTHER (a data target of tools/, say) when OTHER exists once the
# whole tree is configured, whichever directory defines it later.
function(_versilo_dependency_if_target target other)
  if(TARGET ${other})
    add_dependencies(${target} ${other})
  endif()
endfunction()
function(versilo_late_dependency target other)
  cmake_language(EVAL CODE
    "cmake_language(DEFER DIRECTORY [[${CMAKE_SOURCE_DIR}]] CALL _versilo_dependency_if_target [[${target}]] [[${other}]])")
endfunction()
