#pragma once
// The run-state text of the status bar.

#include <string>

class StatusbarFrame;

namespace StatusbarText {

// "Stopped", "Running..." ("Logging..." while the data log writes a file),
// "Playing..." or, before the first block of a
// run, "Acquiring Data (n%)" with how full the input's ring buffer is
// against one FFT block, capped at 100. Without an input port (a device
// change can delete it while the analyzer runs) the text is "Stopped".
std::string Build(const StatusbarFrame& frame);

} // namespace StatusbarText
