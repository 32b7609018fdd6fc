# The driver host layer, the driver list and the DAQ module control.
set(TALVENOR_AUDIO_HOST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/AsioDeviceList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AsioDriverInstance.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AsioDriverList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AsioDrivers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AsioHost.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DaqDevice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DaqUsbLibrary.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SharedLibrary.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShippedDrivers.cpp
)

# Shipped driver plugins are built into this folder (drivers/CMakeLists.txt);
# the registry finds them there when the program runs from the build tree.
set(TALVENOR_DRIVER_BUILD_DIR ${PROJECT_BINARY_DIR}/drivers)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/ShippedDrivers.cpp PROPERTIES
  COMPILE_DEFINITIONS "TALVENOR_DRIVER_BUILD_DIR=\"${TALVENOR_DRIVER_BUILD_DIR}\"")
