# Compiler settings shared by every target of the project.

add_library(talvenor_options INTERFACE)
target_compile_options(talvenor_options INTERFACE -Wall -Wextra)
if(TALVENOR_WERROR)
  target_compile_options(talvenor_options INTERFACE -Werror)
endif()
# Headers are included by their path from the project root ("engine/TFFT.h").
target_include_directories(talvenor_options INTERFACE ${PROJECT_SOURCE_DIR})

if(TALVENOR_SANITIZE)
  # float-cast-overflow is not part of "undefined": without it a NaN or a huge
  # value reaching an integer cast would pass unnoticed.
  set(TALVENOR_SANITIZERS address,undefined,float-cast-overflow)
  target_compile_options(talvenor_options INTERFACE
    -fsanitize=${TALVENOR_SANITIZERS} -fno-sanitize-recover=undefined,float-cast-overflow -fno-omit-frame-pointer)
  target_link_options(talvenor_options INTERFACE -fsanitize=${TALVENOR_SANITIZERS})
endif()

# talvenor_library(name SOURCES... [DEPENDS targets...])
# One folder, one library.
function(talvenor_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC talvenor_options ${ARG_DEPENDS})
endfunction()

# talvenor_test(name SOURCES... [DEPENDS targets...])
function(talvenor_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE talvenor_options GTest::gtest GTest::gtest_main ${ARG_DEPENDS})
  gtest_discover_tests(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 60)
endfunction()
