# Build helpers shared by every deliverable.

# versilo_add_test(NAME SOURCES ... [LIBS ...] [LABELS ...] [DESKTOP])
# One test program, run under Wine as one CTest test. DESKTOP: the program shows windows and
# depends on focus, activation or the mouse, which one Wine desktop has once; such tests
# take the "desktop" lock and run one at a time.
function(versilo_add_test name)
  cmake_parse_arguments(T "DESKTOP" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
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
  if(T_DESKTOP)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK desktop)
  endif()
endfunction()

# versilo_add_bench(NAME SOURCES ... [LIBS ...])
# A benchmark program: a deliverable's benchmarks stand in its own bench/ folder and build
# into build/ARCH/bench (not the program folder); they print figures and are not tests.
function(versilo_add_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS})
  # BenchTimer.h and the other test helpers.
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

# versilo_program_folder_test(TEST DIR)
# Runs TEST in DIR laid out as a program folder: copies of VoUtil.dll, RyTxtUtl.dll and
# VoView.dll beside it (VoUtil converts through the "Bibles" folder beside itself, where the
# test puts the sample numbering tables).
function(versilo_program_folder_test name dir)
  add_custom_command(
    OUTPUT ${dir}/VoUtil.dll ${dir}/RyTxtUtl.dll ${dir}/VoView.dll
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:VoUtil> $<TARGET_FILE:RyTextUtils>
            $<TARGET_FILE:VoView> ${dir}/
    DEPENDS VoUtil RyTextUtils VoView
    COMMENT "Copying VoUtil.dll, RyTxtUtl.dll and VoView.dll beside ${name}"
    VERBATIM)
  add_custom_target(${name}_dlls DEPENDS ${dir}/VoUtil.dll ${dir}/RyTxtUtl.dll ${dir}/VoView.dll)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${dir})
  set_property(TEST ${name} PROPERTY WORKING_DIRECTORY ${dir})
  add_dependencies(${name} ${name}_dlls)
  versilo_late_dependency(${name} sample_bibles)
endfunction()

# versilo_arch_def(OUT_VAR DEF)
# A module-definition file for this build's architecture, made from the one list in DEF,
# which is written as the 32-bit build reads it: standard-call symbols carry "@N". The
# 64-bit build has no such decoration on its symbols, so there every "@N" goes from the
# internal names (right of "=", or a line's only name), while export names left of "="
# ("_OpenBibleFile@8") stay exactly as they are. OUT_VAR receives the path.
function(versilo_arch_def out_var def)
  get_filename_component(def ${def} ABSOLUTE)
  get_filename_component(name ${def} NAME)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
  file(READ ${def} text)
  if(VERSILO_ARCH STREQUAL "x86_64")
    # One list element per line; semicolons (comments) are kept aside meanwhile.
    string(REPLACE ";" "<semicolon>" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(text "")
    foreach(line IN LISTS lines)
      if(line MATCHES "^[ \t]+[A-Za-z_]")
        if(line MATCHES "=")
          string(REGEX REPLACE "(=[ \t]*[A-Za-z_][A-Za-z0-9_]*)@[0-9]+" "\\1" line "${line}")
        else()
          string(REGEX REPLACE "^([ \t]+[A-Za-z_][A-Za-z0-9_]*)@[0-9]+" "\\1" line "${line}")
        endif()
      endif()
      string(APPEND text "${line}\n")
    endforeach()
    string(REPLACE "<semicolon>" ";" text "${text}")
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${name})
  file(WRITE ${out}.tmp "${text}")
  file(COPY_FILE ${out}.tmp ${out} ONLY_IF_DIFFERENT)
  set(${out_var} ${out} PARENT_SCOPE)
endfunction()

# versilo_decorated_exports(TARGET DEF)
# Exports a library's standard-call functions under their decorated names
# ("_Name@N", as the importing programs bind them, on both architectures) and makes an
# import library, TARGET_imports, that maps the C-level symbol (Name@N on 32-bit, Name on
# 64-bit) to that export.
function(versilo_decorated_exports target def)
  get_filename_component(def ${def} ABSOLUTE)
  versilo_arch_def(arch_def ${def})
  target_sources(${target} PRIVATE ${arch_def})
  # Only what the .def names is exported, never every global symbol.
  target_link_options(${target} PRIVATE -Wl,--exclude-all-symbols)
  file(STRINGS ${def} lines)
  set(imp "LIBRARY ${target}.dll\nEXPORTS\n")
  set(names "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*_(([A-Za-z0-9_]+)@[0-9]+)")
      if(VERSILO_ARCH STREQUAL "x86_64")
        string(APPEND imp "  ${CMAKE_MATCH_2} == _${CMAKE_MATCH_1}\n")
      else()
        string(APPEND imp "  ${CMAKE_MATCH_1} == _${CMAKE_MATCH_1}\n")
      endif()
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
