#include "format/TChannelCalibration.h"

#include <bit>
#include <cstring>
#include <utility>

namespace {

// Byte offsets of the stored record.
constexpr std::size_t kOffIsEnabled = 0;
constexpr std::size_t kOffRefLevel = 4;
constexpr std::size_t kOffRefType = 8;
constexpr std::size_t kOffRefUnits = 12;
constexpr std::size_t kOffLabelLinear = 16;
constexpr std::size_t kOffLabelLog = 76;
constexpr std::size_t kOffLabelType = 136;
constexpr std::size_t kOffPctFullScale = 140;
constexpr std::size_t kOffCalRatio = 144;
constexpr std::size_t kOffConversionType = 148;
constexpr std::size_t kOffIntegrationType = 152;
constexpr std::size_t kOffChannelName = 156;
constexpr std::size_t kOffReserved1 = 196;
constexpr std::size_t kOffCalCreateMode = 468;
constexpr std::size_t kOffSensitivity = 470;
constexpr std::size_t kOffDAQVoltageRange = 474;
constexpr std::size_t kOffCalVersion = 478;
constexpr std::size_t kOffReserved2 = 480;

static_assert(kOffReserved1 + TChannelCalibration::kReserved1Size == kOffCalCreateMode);
static_assert(kOffReserved2 + TChannelCalibration::kReserved2Size == TChannelCalibration::kPackedSize);

void PutU16(std::uint8_t* p, std::uint16_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void PutU32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void PutF32(std::uint8_t* p, float v) { PutU32(p, std::bit_cast<std::uint32_t>(v)); }

std::uint16_t GetU16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t GetU32(const std::uint8_t* p)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= std::uint32_t{p[i]} << (8 * i);
    return v;
}

float GetF32(const std::uint8_t* p) { return std::bit_cast<float>(GetU32(p)); }

// All stored bytes are kept, including any after the terminator, so that a
// well-formed record round-trips exactly; only a field with no terminator
// at all is cut short.
template <std::size_t N>
void GetText(char (&field)[N], const std::uint8_t* p)
{
    std::memcpy(field, p, N);
    if (std::memchr(field, '\0', N) == nullptr)
        field[N - 1] = '\0';
}

}  // namespace

void TChannelCalibration::LoadUncalibratedDefaults()
{
    IsEnabled = 0;
    RefLevel = 1.0f;
    RefType = 0;
    RefUnits = 4;
    SetText(LabelLinear, "Percent Full Scale");
    SetText(LabelLog, "Relative Amplitude (dBr)");
    LabelType = 0;
    PctFullScale = 1.0f;
    CalRatio = 1.0f;
    ConversionType = 0;
    IntegrationType = 0;
}

void TChannelCalibration::Pack(std::uint8_t* out) const
{
    PutU32(out + kOffIsEnabled, IsEnabled);
    PutF32(out + kOffRefLevel, RefLevel);
    PutU32(out + kOffRefType, RefType);
    PutU32(out + kOffRefUnits, RefUnits);
    std::memcpy(out + kOffLabelLinear, LabelLinear, kLabelSize);
    std::memcpy(out + kOffLabelLog, LabelLog, kLabelSize);
    PutU32(out + kOffLabelType, LabelType);
    PutF32(out + kOffPctFullScale, PctFullScale);
    PutF32(out + kOffCalRatio, CalRatio);
    PutU32(out + kOffConversionType, ConversionType);
    PutU32(out + kOffIntegrationType, IntegrationType);
    std::memcpy(out + kOffChannelName, ChannelName, kChannelNameSize);
    std::memcpy(out + kOffReserved1, Reserved1.data(), kReserved1Size);
    PutU16(out + kOffCalCreateMode, CalCreateMode);
    PutF32(out + kOffSensitivity, TransducerSensitivityVolts);
    PutF32(out + kOffDAQVoltageRange, DAQVoltageRange);
    PutU16(out + kOffCalVersion, CalVersion);
    std::memcpy(out + kOffReserved2, Reserved2.data(), kReserved2Size);
}

TChannelCalibration TChannelCalibration::Unpack(const std::uint8_t* in)
{
    TChannelCalibration r;
    r.IsEnabled = GetU32(in + kOffIsEnabled);
    r.RefLevel = GetF32(in + kOffRefLevel);
    r.RefType = GetU32(in + kOffRefType);
    r.RefUnits = GetU32(in + kOffRefUnits);
    GetText(r.LabelLinear, in + kOffLabelLinear);
    GetText(r.LabelLog, in + kOffLabelLog);
    r.LabelType = GetU32(in + kOffLabelType);
    r.PctFullScale = GetF32(in + kOffPctFullScale);
    r.CalRatio = GetF32(in + kOffCalRatio);
    r.ConversionType = GetU32(in + kOffConversionType);
    r.IntegrationType = GetU32(in + kOffIntegrationType);
    GetText(r.ChannelName, in + kOffChannelName);
    std::memcpy(r.Reserved1.data(), in + kOffReserved1, kReserved1Size);
    r.CalCreateMode = GetU16(in + kOffCalCreateMode);
    r.TransducerSensitivityVolts = GetF32(in + kOffSensitivity);
    r.DAQVoltageRange = GetF32(in + kOffDAQVoltageRange);
    r.CalVersion = GetU16(in + kOffCalVersion);
    std::memcpy(r.Reserved2.data(), in + kOffReserved2, kReserved2Size);
    return r;
}

bool TChannelCalibration::Unpack(const std::uint8_t* in, std::size_t size, TChannelCalibration& out)
{
    if (in == nullptr || size < kPackedSize)
        return false;
    out = Unpack(in);
    return true;
}

TChannelCalibration DefaultChannelCalibration(int channel)
{
    const bool right = channel >= 1;

    TChannelCalibration c;
    c.IsEnabled = 1;
    c.RefLevel = 94.0f;
    c.RefType = 1;
    c.RefUnits = right ? 3 : 2;
    TChannelCalibration::SetText(c.LabelLinear, right ? "Acceleration G rms" : "Pascals rms");
    TChannelCalibration::SetText(c.LabelLog, right ? "Acceleration (dB re 1G) rms" : "SPL (dB re 20uPA) rms");
    c.LabelType = 1;
    c.PctFullScale = right ? 0.05f : -1.0f;
    c.CalRatio = 1.0f;
    c.ConversionType = 0;
    c.IntegrationType = 0;
    TChannelCalibration::SetText(c.ChannelName, right ? "Accelerometer" : "Microphone");
    c.CalCreateMode = right ? 2 : 0;
    c.TransducerSensitivityVolts = right ? 0.1f : 0.012f;
    c.DAQVoltageRange = 0.625f;
    c.CalVersion = TChannelCalibration::kCalVersion;
    return c;
}

std::string ShownUnitLabel(std::string_view stored)
{
    static constexpr std::pair<std::string_view, std::string_view> kShown[] = {
        {"SPL (dB re 20uPA) rms", "SPL (dB re 20 µPa) rms"},
        {"SPL (dB re 1uPA) rms", "SPL (dB re 1 µPa) rms"},
        {"Acceleration (dB re 1G) rms", "Acceleration (dB re 1 g) rms"},
        {"Acceleration (G dB) rms", "Acceleration (g dB) rms"},
        {"Acceleration G rms", "Acceleration g rms"},
        {"PA", "Pa"},
    };
    for (const auto& [old, shown] : kShown) {
        if (stored == old)
            return std::string(shown);
    }
    return std::string(stored);
}
