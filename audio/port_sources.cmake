# The shared audio port, its input ring and output source, and the sound ports.
set(TALVENOR_AUDIO_PORT_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/TAsioSampleCodec.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TInputRing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TInputDecimator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TInputStream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TOutputSource.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TASIOSoundPort.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TASIOSoundPortStart.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TASIOSoundPortStream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TSoundPort.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TSoundInput.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TSoundOutput.cpp
)
