#include "utilities/SigGenChannelDialog.h"

#include "utilities/CFreqStep.h"
#include "utilities/CFreqSweep.h"
#include "utilities/CIMDtones.h"
#include "utilities/CLevelSweep.h"
#include "utilities/CNoiseBurst.h"
#include "utilities/CPulse.h"
#include "utilities/CSawtooth.h"
#include "utilities/CSquare.h"
#include "utilities/CToneBurst.h"
#include "utilities/CTones.h"
#include "utilities/CTriangular.h"
#include "utilities/CUserWaveDialog.h"

std::unique_ptr<CSigGenDialog> CreateChannelDialog(QWidget* parent, SigGenChannelSettings& s, std::int32_t nyquist,
                                                   const QString& waveFolder)
{
    switch (s.SigType) {
    case kSigNoiseBurst:
        return std::make_unique<CNoiseBurst>(parent, &s.NoiseBurst);
    case kSigToneBurst:
        return std::make_unique<CToneBurst>(parent, &s.ToneBurst, nyquist);
    case kSigSawtooth:
        return std::make_unique<CSawtooth>(parent, &s.Sawtooth, nyquist);
    case kSigMultipleTones:
        return std::make_unique<CTones>(parent, s.Tones, nyquist);
    case kSigIMD:
        return std::make_unique<CIMDtones>(parent, &s.IMD, nyquist);
    case kSigTriangular:
        return std::make_unique<CTriangular>(parent, &s.Triangular, nyquist);
    case kSigSquare:
        return std::make_unique<CSquare>(parent, &s.Square, nyquist);
    case kSigPulse:
        return std::make_unique<CPulse>(parent, &s.Pulse, nyquist);
    case kSigUserWave:
        return std::make_unique<CUserWaveDialog>(parent, s.UserDefined.WaveFileName, &s.UserDefined.RepeatFlag,
                                                 waveFolder);
    case kSigLevelSweep:
        return std::make_unique<CLevelSweep>(parent, &s.LevelSweep, nyquist);
    case kSigFreqSweep:
        return std::make_unique<CFreqSweep>(parent, &s.FreqSweep, nyquist);
    case kSigFreqStep:
        return std::make_unique<CFreqStep>(parent, &s.FreqStep, nyquist);
    default:
        return nullptr;
    }
}
