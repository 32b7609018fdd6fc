# Tests of the driver host layer, the drivers and the DAQ module control.
