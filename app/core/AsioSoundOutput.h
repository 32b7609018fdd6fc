#pragma once
// The run control's output port over the audio layer's sound output.

#include <memory>

#include "audio/SoundOutputPort.h"
#include "audio/TSoundOutput.h"

class AsioSoundOutput final : public SoundOutputPort {
public:
    AsioSoundOutput(int device, int driverMode);

    bool Open(const TWaveFormat& format) override { return m_Port->Open(format); }
    void Close() override { m_Port->Close(); }
    bool SetFormat(const TWaveFormat& format) override { return m_Port->SetFormat(format); }
    bool IsSampleRateSupported(const TWaveFormat& format) override { return m_Port->IsSampleRateSupported(format); }
    bool IsQuarnDAQ() const override { return m_Port->IsQuarnDAQ(); }
    void Stop() override { m_Port->Stop(); }
    bool PreparePlayback(TWaveData* wave, bool loop, std::int64_t firstFrame, std::int64_t endFrame) override
    {
        return m_Port->PreparePlayback(wave, loop, firstFrame, endFrame);
    }
    bool Start() override { return m_Port->Start(); }

private:
    std::unique_ptr<TSoundOutput> m_Port;
};
