# The driver host layer, the driver list and the DAQ module control.
set(TALVENOR_AUDIO_HOST_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/AsioHost.cpp
)
