# Tests of the shared audio port, its input ring and output, and the sound ports.

set(PORT_TEST_SOURCES
  AsioSoundPortTest.cpp
  AsioPortRatesTest.cpp
  InputStreamTest.cpp
  InputStreamEdgeTest.cpp
  OutputPlaybackTest.cpp
  PortEndToEndTest.cpp
  PortBuffersTest.cpp
  PortStartFailuresTest.cpp
)
if(TARGET talvenor_jack)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(PORT_TEST_JACK REQUIRED IMPORTED_TARGET jack)
  list(APPEND PORT_TEST_SOURCES ${PROJECT_SOURCE_DIR}/tests/drivers/JackServer.cpp)
endif()

talvenor_test(port_tests
  SOURCES
    ${PORT_TEST_SOURCES}
  DEPENDS
    talvenor_audio
)
target_compile_definitions(port_tests PRIVATE
  PUMPED_ASIO_DRIVER_PLUGIN="$<TARGET_FILE:talvenor_pumped_asio_driver>"
  DAQSIM_PLUGIN="$<TARGET_FILE:talvenor_daqsim>")
add_dependencies(port_tests talvenor_pumped_asio_driver talvenor_daqsim)
if(TARGET talvenor_jack)
  target_compile_definitions(port_tests PRIVATE JACK_PLUGIN="$<TARGET_FILE:talvenor_jack>")
  target_link_libraries(port_tests PRIVATE PkgConfig::PORT_TEST_JACK)
  add_dependencies(port_tests talvenor_jack)
endif()
