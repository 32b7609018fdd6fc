#pragma once
// The parameter dialog of a channel's signal type, given its section of
// the channel's settings.

#include <QString>

#include <cstdint>
#include <memory>

#include "settings/SigGenSettings.h"
#include "utilities/CSigGenDialog.h"

// Null for the types without a dialog: white and pink noise, the 1 kHz tone
// and silence have no parameters, and DTMF is stored but never built.
// waveFolder is where the user wave dialog's Pick... starts.
std::unique_ptr<CSigGenDialog> CreateChannelDialog(QWidget* parent, SigGenChannelSettings& settings,
                                                   std::int32_t nyquist, const QString& waveFolder);
