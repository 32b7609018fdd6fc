# Wave data buffers, wave files and their calibration chunk.
set(TALVENOR_AUDIO_WAVE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/TWaveData.cpp
)
