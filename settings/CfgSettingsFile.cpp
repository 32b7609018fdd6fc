#include "settings/CfgSettingsFile.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "platform/AtomicFile.h"
#include "platform/NumberText.h"
#include "settings/CfgVisitor.h"
#include "settings/CfgWriter.h"
#include "settings/FloatFieldBounds.h"
#include "settings/SettingsLimits.h"
#include "settings/TextField.h"

namespace {

float ReadBack(const std::string& text)
{
    return static_cast<float>(platform::ParseFloatPrefix(text));
}

// Numbers are fetched as text of at most this many characters first.
constexpr std::size_t kValueBufferSize = 256;

class CfgReadVisitor : public CfgVisitor {
public:
    explicit CfgReadVisitor(const CfgTable& table) : m_Table(table) {}

    void Int32(std::string_view section, std::string_view key, std::int32_t& field,
               std::string_view defaultValue) override
    {
        field = Integer(section, key, defaultValue);
    }
    void UInt32(std::string_view section, std::string_view key, std::uint32_t& field,
                std::string_view defaultValue) override
    {
        field = static_cast<std::uint32_t>(Integer(section, key, defaultValue));
    }
    void UInt16(std::string_view section, std::string_view key, std::uint16_t& field,
                std::string_view defaultValue) override
    {
        field = static_cast<std::uint16_t>(Integer(section, key, defaultValue));
    }
    void Flag(std::string_view section, std::string_view key, std::uint8_t& field,
              std::string_view defaultValue) override
    {
        field = Integer(section, key, defaultValue) != 0 ? 1 : 0;
    }
    void Float(std::string_view section, std::string_view key, float& field,
               std::string_view defaultValue) override
    {
        // A number no float holds (NaN, an infinity, 1e39) is no value at
        // all: the key reads as missing. Converting it would be undefined.
        const double value = platform::ParseFloatPrefix(Value(section, key, defaultValue));
        const bool fits = std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
        field = static_cast<float>(fits ? value : platform::ParseFloatPrefix(defaultValue));
    }
    void Text(std::string_view section, std::string_view key, char* field, std::size_t size,
              std::string_view defaultValue) override
    {
        // A text longer than its field ends before the character that does
        // not fit, never inside it.
        std::string text = m_Table.Lookup(section, key, defaultValue, size + 1);
        if (text.size() > size - 1) {
            std::size_t cut = size - 1;
            while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
                --cut;
            text.resize(cut);
        }
        std::memset(field, 0, size);
        std::memcpy(field, text.data(), text.size());
    }
    void Format(std::string_view section, TWaveFormat& format) override
    {
        const auto rate = static_cast<std::uint32_t>(Integer(section, "SamplingRate", "192000"));
        const auto bytes = static_cast<std::uint16_t>(Integer(section, "BytesPerSample", "3"));
        const auto channels = static_cast<std::uint16_t>(Integer(section, "NumChannels", "1"));
        format.Set(rate, channels, bytes);
    }
    void WriteOnlyFlag(std::string_view, std::string_view, std::uint8_t) override {}

private:
    std::string Value(std::string_view section, std::string_view key, std::string_view defaultValue) const
    {
        return m_Table.Lookup(section, key, defaultValue, kValueBufferSize);
    }
    std::int32_t Integer(std::string_view section, std::string_view key, std::string_view defaultValue) const
    {
        return platform::ParseIntegerPrefix(Value(section, key, defaultValue));
    }

    const CfgTable& m_Table;
};

class CfgWriteVisitor : public CfgVisitor {
public:
    explicit CfgWriteVisitor(CfgWriter& writer) : m_Writer(writer) {}

    void Int32(std::string_view section, std::string_view key, std::int32_t& field, std::string_view) override
    {
        m_Writer.WriteEntry(section, key, platform::FormatInteger(field));
    }
    void UInt32(std::string_view section, std::string_view key, std::uint32_t& field, std::string_view) override
    {
        m_Writer.WriteEntry(section, key, platform::FormatInteger(static_cast<std::int32_t>(field)));
    }
    void UInt16(std::string_view section, std::string_view key, std::uint16_t& field, std::string_view) override
    {
        m_Writer.WriteEntry(section, key, platform::FormatInteger(field));
    }
    void Flag(std::string_view section, std::string_view key, std::uint8_t& field, std::string_view) override
    {
        WriteOnlyFlag(section, key, field);
    }
    void Float(std::string_view section, std::string_view key, float& field, std::string_view) override
    {
        // Six decimals, unless a small value needs more to read back as
        // itself (a sensitivity of a few µV per unit).
        std::string text = platform::FormatFixed(field, 6);
        for (int decimals = 7; decimals <= 50 && std::isfinite(field) && ReadBack(text) != field; ++decimals)
            text = platform::FormatFixed(field, decimals);
        m_Writer.WriteEntry(section, key, text);
    }
    void Text(std::string_view section, std::string_view key, char* field, std::size_t size,
              std::string_view) override
    {
        m_Writer.WriteEntry(section, key, std::string_view(field, ::strnlen(field, size)));
    }
    void Format(std::string_view section, TWaveFormat& format) override
    {
        m_Writer.WriteEntry(section, "SamplingRate",
                            platform::FormatInteger(static_cast<std::int32_t>(format.SamplingRate)));
        m_Writer.WriteEntry(section, "BytesPerSample", platform::FormatInteger(format.BytesPerSample));
        m_Writer.WriteEntry(section, "NumChannels", platform::FormatInteger(format.NumChannels));
    }
    void WriteOnlyFlag(std::string_view section, std::string_view key, std::uint8_t value) override
    {
        m_Writer.WriteEntry(section, key, value != 0 ? "1" : "0");
    }

private:
    CfgWriter& m_Writer;
};

// The values every load derives rather than reads.
void ApplyDerivedValues(FrameSettings& s, const FindDaqInputDeviceFn& findDaq)
{
    s.m_InputDevice = findDaq ? findDaq() : 0;
    s.m_OutputDevice = s.m_InputDevice;
    if (s.Calibration[0].ChannelName[0] == '\0')
        SetTextField(s.Calibration[0].ChannelName, "Microphone");
    if (s.Calibration[1].ChannelName[0] == '\0')
        SetTextField(s.Calibration[1].ChannelName, "Acceleration");
    for (SigGenChannelSettings& channel : s.SigGenChannel)
        channel.UpdateToneAmplitudes();
}

} // namespace

const FrameSettings& CfgMissingKeyValues()
{
    static const FrameSettings values = [] {
        FrameSettings s;
        const CfgTable empty;
        CfgReadVisitor reader(empty);
        VisitCfgKeys(s, reader);
        return s;
    }();
    return values;
}

void ApplyFixedCfgValues(FrameSettings& s)
{
    s.SoundCardDriverMode = 1;
    s.m_ShowSidebar = 1;
    s.m_ShowToolbar = 0;
    s.m_ShowStatusbar = 1;
    s.OpMode = 1;
    s.Processing.ApplyFixedRunValues();
    for (ScalingOpts& scaling : s.Scaling) {
        scaling.SpectralDensityFlag = 0;
        scaling.SpectralDensityType = 0;
        scaling.MicCompEnable = 0;
    }
    s.Trigger.Enable = 0;
    s.RunControl.ApplyFixedValues();
}

void ApplyCfgTable(const CfgTable& table, FrameSettings& settings, const FindDaqInputDeviceFn& findDaq)
{
    settings.DataLog.Active = 0;
    CfgReadVisitor reader(table);
    VisitCfgKeys(settings, reader);
    BoundFloatFields(settings, CfgMissingKeyValues());
    ApplyFixedCfgValues(settings);
    ApplySettingsLimits(settings);
    // Last, so that the tone amplitudes follow the levels as limited.
    ApplyDerivedValues(settings, findDaq);
}

bool LoadCfgSettings(const std::string& path, FrameSettings& settings, const FindDaqInputDeviceFn& findDaq)
{
    CfgTable table;
    if (!table.Read(path))
        return false;
    ApplyCfgTable(table, settings, findDaq);
    return true;
}

std::string FormatCfgSettings(const FrameSettings& settings)
{
    // The walk hands out references for reading and writing alike; a copy
    // keeps the caller's record out of its reach.
    FrameSettings copy = settings;
    CfgWriter writer;
    CfgWriteVisitor visitor(writer);
    VisitCfgKeys(copy, visitor);
    return writer.Text();
}

bool SaveCfgSettings(const std::string& path, const FrameSettings& settings, std::string* reason)
{
    int error = 0;
    if (platform::WriteFileAtomically(path, FormatCfgSettings(settings), error))
        return true;
    if (reason != nullptr)
        *reason = platform::ErrorText(error);
    return false;
}
