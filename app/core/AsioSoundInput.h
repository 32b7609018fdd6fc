#pragma once
// The run control's input port over the audio layer's sound input.

#include <memory>

#include "audio/SoundInputPort.h"
#include "audio/TSoundInput.h"

class AsioSoundInput final : public SoundInputPort {
public:
    AsioSoundInput(int device, int driverMode);

    bool Open(const TWaveFormat& format) override { return m_Port->Open(format); }
    void Close() override { m_Port->Close(); }
    bool SetFormat(const TWaveFormat& format) override { return m_Port->SetFormat(format); }
    bool IsSampleRateSupported(const TWaveFormat& format) override { return m_Port->IsSampleRateSupported(format); }
    bool IsQuarnDAQ() const override { return m_Port->IsQuarnDAQ(); }
    void Stop() override { m_Port->Stop(); }
    bool PrepareInput(TWaveFile* recording, std::uint32_t blockLength, TriggerOpts* trigger) override
    {
        return m_Port->PrepareInput(recording, blockLength, trigger);
    }
    bool Start() override { return m_Port->Start(); }
    std::int32_t GetSamplesAvailable() override { return m_Port->GetSamplesAvailable(); }
    std::uint64_t GetFramesDelivered() override { return m_Port->GetFramesDelivered(); }
    bool ReadLatest(std::uint32_t n, std::int32_t* left, std::int32_t* right) override
    {
        return m_Port->ReadLatest(n, left, right);
    }

    std::optional<DeliveryState> GetDeliveryState() override
    {
        return DeliveryState{m_Port->GetBufferSwitchCount(), m_Port->IsResetRequested(), m_Port->GetFramesLost(),
                             m_Port->GetBufferSeconds()};
    }
    std::string GetDeviceName() override { return m_Port->GetDeviceName(); }

    // The status bar's format menu asks the port which formats it takes.
    bool CheckFormat(const TWaveFormat& format) override
    {
        return m_Port->CheckFormat(format.SamplingRate, format.BytesPerSample, format.NumChannels);
    }

private:
    std::unique_ptr<TSoundInput> m_Port;
};
