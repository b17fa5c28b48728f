# One way to declare every target of the project, so that warnings, include paths and the
# layer order are alike everywhere.
#
#   rm_add_library(<name> LAYER <n> [SHARED|MODULE] SOURCES ... [PUBLIC_LINK ...] [PRIVATE_LINK ...])
#   rm_add_test(<name> SOURCES ... LINK ...)
#
# A library may link only libraries of a lower layer; configuring fails otherwise.

function(rm_target_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
  if(RM_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

function(rm_check_layers target layer libs)
  foreach(lib IN LISTS libs)
    if(TARGET ${lib})
      get_target_property(other ${lib} RM_LAYER)
      if(other AND NOT other LESS layer)
        message(FATAL_ERROR "${target} (layer ${layer}) must not link ${lib} (layer ${other})")
      endif()
    endif()
  endforeach()
endfunction()

function(rm_add_library name)
  cmake_parse_arguments(ARG "SHARED;MODULE" "LAYER" "SOURCES;PUBLIC_LINK;PRIVATE_LINK" ${ARGN})
  if(NOT DEFINED ARG_LAYER)
    message(FATAL_ERROR "rm_add_library(${name}) needs LAYER")
  endif()
  if(ARG_SHARED)
    add_library(${name} SHARED ${ARG_SOURCES})
  elseif(ARG_MODULE)
    add_library(${name} MODULE ${ARG_SOURCES})
  else()
    add_library(${name} STATIC ${ARG_SOURCES})
  endif()
  set_target_properties(${name} PROPERTIES RM_LAYER ${ARG_LAYER})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  rm_check_layers(${name} ${ARG_LAYER} "${ARG_PUBLIC_LINK};${ARG_PRIVATE_LINK}")
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LINK} PRIVATE ${ARG_PRIVATE_LINK})
  rm_target_warnings(${name})
endfunction()

function(rm_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
  if(NOT RM_BUILD_TESTS)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  if(RM_TSAN)
    target_sources(${name} PRIVATE ${CMAKE_SOURCE_DIR}/testsupport/TsanClockLock.cpp)
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LINK} rm_testsupport GTest::gtest GTest::gmock)
  rm_target_warnings(${name})
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT
      "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/testsupport/lsan.supp:print_suppressions=0;ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endfunction()
