# Wave data buffers, wave files and their calibration chunk.
set(TALVENOR_AUDIO_WAVE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/TWaveData.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TWaveDataFilter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TWaveCalibration.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TWaveHeader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TWaveFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TWaveFileMemory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TWaveFileStream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TWaveFileCalibration.cpp
)
