# Shared build rules: every subsystem folder is one static library whose
# sources are the .cpp files of the folder itself; its tests live in tests/.

function(vekta_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Woverloaded-virtual -Wsuggest-override)
  if(VEKTA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# vekta_library(<name> DEPS <libs...>)
function(vekta_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${sources} ${headers})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  vekta_warnings(${name})
endfunction()

# vekta_tests(<name> DEPS <libs...>): one test executable from tests/*.cpp,
# each GoogleTest case registered with CTest.
function(vekta_tests name)
  if(NOT VEKTA_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources} ${PROJECT_SOURCE_DIR}/tests/support/base/TestMain.cpp)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} vekta_testsupport GTest::gtest)
  target_compile_definitions(${name} PRIVATE
    VEKTA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    VEKTA_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/tests/data")
  vekta_warnings(${name})
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()
