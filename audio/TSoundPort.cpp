#include "audio/TSoundPort.h"

#include "audio/TASIOSoundPort.h"

#include <limits>

TSoundPort::TSoundPort(std::uint16_t direction, std::uint32_t device, std::uint16_t driverMode)
    : Direction(direction), DriverMode(driverMode), DeviceIndex(device)
{
    if (DriverMode == kDriverModeAsio)
        CreateASIOPort();
}

TSoundPort::~TSoundPort()
{
    if (Port != nullptr)
        TASIOSoundPort::ReleaseReference();
}

void TSoundPort::CreateASIOPort()
{
    if (Port != nullptr)
        return;
    Port = TASIOSoundPort::GetInstance();
    TASIOSoundPort::AddReference();
}

bool TSoundPort::Open(const TWaveFormat& format)
{
    TASIOSoundPort* port = Shared();
    if (port == nullptr)
        return false;
    // An index beyond the list becomes negative here and is refused.
    const bool opened = port->Open(static_cast<int>(DeviceIndex), Direction);
    port->SetFormat(format.SamplingRate, format.NumChannels, format.BytesPerSample);
    return opened;
}

bool TSoundPort::SetFormat(const TWaveFormat& format)
{
    TASIOSoundPort* port = Shared();
    return port != nullptr && port->SetFormat(format.SamplingRate, format.NumChannels, format.BytesPerSample);
}

bool TSoundPort::IsSampleRateSupported(const TWaveFormat& format)
{
    TASIOSoundPort* port = Shared();
    return port != nullptr &&
           port->IsSampleRateSupported(format.SamplingRate, format.BytesPerSample, format.NumChannels);
}

bool TSoundPort::CheckFormat(std::uint32_t rate, std::uint16_t bytes, std::uint16_t channels)
{
    // Asked while stopped too (the status bar's format menu), when the device
    // may not have been opened since the list was read.
    TASIOSoundPort* port = Shared();
    return port != nullptr && port->IsFormatSupportedOn(static_cast<int>(DeviceIndex), rate, bytes, channels);
}

bool TSoundPort::IsQuarnDAQ() const
{
    return Shared() != nullptr && TASIOSoundPort::IsQuarnDAQ(static_cast<int>(DeviceIndex));
}

void TSoundPort::Stop()
{
    if (TASIOSoundPort* port = Shared())
        port->Stop();
}

void TSoundPort::Close()
{
    if (TASIOSoundPort* port = Shared())
        port->Close();
}

std::int32_t TSoundPort::GetSamplesAvailable()
{
    TASIOSoundPort* port = Shared();
    return port != nullptr ? port->GetSamplesAvailable() : 0;
}

std::uint64_t TSoundPort::GetFramesDelivered()
{
    TASIOSoundPort* port = Shared();
    return port != nullptr ? port->GetFramesDelivered() : 0;
}

bool TSoundPort::ReadLatest(std::uint32_t n, std::int32_t* left, std::int32_t* right)
{
    TASIOSoundPort* port = Shared();
    if (port == nullptr || n > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
        return false;
    return port->ReadLatest(static_cast<std::int32_t>(n), left, right);
}

std::uint32_t TSoundPort::GetBufferSwitchCount() const
{
    TASIOSoundPort* port = Shared();
    return port != nullptr ? port->GetBufferSwitchCount() : 0;
}

bool TSoundPort::IsResetRequested() const
{
    TASIOSoundPort* port = Shared();
    return port != nullptr && port->IsResetRequested();
}

std::int64_t TSoundPort::GetFramesLost() const
{
    TASIOSoundPort* port = Shared();
    return port != nullptr ? port->GetFramesLost() : 0;
}

double TSoundPort::GetBufferSeconds() const
{
    TASIOSoundPort* port = Shared();
    if (port == nullptr || port->GetDeviceRate() == 0)
        return 0.0;
    return static_cast<double>(port->GetBufferFrames()) / port->GetDeviceRate();
}

std::string TSoundPort::GetDeviceName() const
{
    if (DeviceIndex > 255)
        return {};
    char name[256] = {};
    TASIOSoundPort::GetDeviceNameByIndex(static_cast<int>(DeviceIndex), name);
    return name;
}
