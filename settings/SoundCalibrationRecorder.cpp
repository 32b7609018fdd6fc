#include "settings/SoundCalibrationRecorder.h"

#include "audio/DaqDevice.h"
#include "audio/TSoundInput.h"
#include "audio/TWaveFile.h"

namespace {
// Frames the port hands over at a time.
constexpr std::uint32_t kBlockFrames = 8192;
} // namespace

SoundCalibrationRecorder::SoundCalibrationRecorder(int device, int driverMode, DaqDevice* daq)
    : m_Device(device), m_DriverMode(driverMode), m_Daq(daq)
{
}

SoundCalibrationRecorder::~SoundCalibrationRecorder()
{
    Stop();
}

bool SoundCalibrationRecorder::Start(const TWaveFormat& format, const DaqOpts& options, std::uint64_t frames)
{
    Stop();
    m_Wave = std::make_unique<TWaveFile>(frames, format);
    if (m_Wave->Failed != 0 || m_Wave->GetNumFrames() != frames) {
        m_Wave.reset();
        return false;
    }
    m_Wave->SetPosition(0);
    m_Port = std::make_unique<TSoundInput>(static_cast<std::uint32_t>(m_Device),
                                           static_cast<std::uint16_t>(m_DriverMode));
    m_Port->SetFormat(format);
    if (!m_Port->Open(format) || !m_Port->PrepareInput(m_Wave.get(), kBlockFrames, nullptr)) {
        m_Port.reset();
        return false;
    }
    if (m_Daq != nullptr && m_Port->IsQuarnDAQ()) {
        m_Daq->ResetCachedConfig();
        m_Daq->ConfigureInput(options, 0, 0, true);
    }
    if (!m_Port->Start()) {
        m_Port->Close();
        m_Port.reset();
        return false;
    }
    return true;
}

double SoundCalibrationRecorder::RecordedSeconds() const
{
    return m_Wave ? m_Wave->GetPositionSeconds() : 0.0;
}

void SoundCalibrationRecorder::Stop()
{
    if (!m_Port)
        return;
    m_Port->Stop();
    m_Port->Close();
    m_Port.reset();
}

const TWaveData* SoundCalibrationRecorder::Recording() const
{
    return m_Wave.get();
}
