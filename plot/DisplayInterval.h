#pragma once
// At most one trace update per display interval. The time of the last drawn
// frame only moves forward; a frame from before it (a clock that restarted,
// a wave file played again from its start) is skipped and starts the
// interval afresh from 0. A time of 0 or less is a forced update (after a
// command) and always draws, leaving the last time alone.

// True when the frame at t is drawn; updates last accordingly.
bool AdmitDisplayFrame(float& last, float t, bool intervalOn, float intervalSecs);
