# Tests of the driver host layer, the drivers and the DAQ module control.

# Drivers of any shape, configured per class id; the tests may call their
# buffer switches themselves.
add_library(talvenor_pumped_asio_driver MODULE ${CMAKE_CURRENT_LIST_DIR}/PumpedAsioDriver.cpp)
target_link_libraries(talvenor_pumped_asio_driver PRIVATE talvenor_options)
set_target_properties(talvenor_pumped_asio_driver PROPERTIES
  PREFIX ""
  CXX_VISIBILITY_PRESET hidden
  VISIBILITY_INLINES_HIDDEN ON)

talvenor_test(audio_host_tests
  SOURCES
    AsioDriverListTest.cpp
    AsioDeviceListTest.cpp
    DeviceNameRoomTest.cpp
    DaqDeviceTest.cpp
  DEPENDS
    talvenor_audio
)
target_compile_definitions(audio_host_tests PRIVATE
  PUMPED_ASIO_DRIVER_PLUGIN="$<TARGET_FILE:talvenor_pumped_asio_driver>"
  DAQSIM_PLUGIN="$<TARGET_FILE:talvenor_daqsim>"
  NOT_A_PLUGIN_FILE="${CMAKE_CURRENT_LIST_DIR}/PumpedAsioDriver.h")
add_dependencies(audio_host_tests talvenor_pumped_asio_driver talvenor_daqsim)
