# Tests of wave data, wave files and the calibration chunk.
