# Tests of wave data, wave files and the calibration chunk.
talvenor_test(wave_tests
  SOURCES
    WaveDataTest.cpp
    WaveFileTest.cpp
    WaveFileReadOnlyTest.cpp
    WaveDataEndTest.cpp
    WaveDataSamplesTest.cpp
    WaveFilePartialFrameTest.cpp
    WaveCalibrationTest.cpp
    WaveOldCalibrationTest.cpp
  DEPENDS
    talvenor_audio
)
# sox is the independent reader and writer the files are checked against.
find_program(TALVENOR_SOX_EXECUTABLE sox)
if(TALVENOR_SOX_EXECUTABLE)
  target_compile_definitions(wave_tests PRIVATE TALVENOR_SOX="${TALVENOR_SOX_EXECUTABLE}")
endif()
