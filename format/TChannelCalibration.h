#pragma once
// Amplitude calibration of one input channel.
//
// Wave files carry both channels' records in their calibration chunk as
// 634 packed little-endian bytes, so Pack/Unpack write the file offsets
// explicitly instead of trusting the compiler's struct layout (the record
// has floats at offsets 470 and 474, which no aligned layout reproduces).
// The two reserved ranges are kept so a record read from a file is written
// back unchanged.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

struct TChannelCalibration {
    static constexpr std::size_t kPackedSize = 634;
    static constexpr std::size_t kLabelSize = 60;
    static constexpr std::size_t kChannelNameSize = 40;
    static constexpr std::size_t kReserved1Size = 272;  // bytes 196 … 467
    static constexpr std::size_t kReserved2Size = 154;  // bytes 480 … 633
    static constexpr std::uint16_t kCalVersion = 5100;

    std::uint32_t IsEnabled = 0;
    float RefLevel = 0.0f;
    std::uint32_t RefType = 0;
    std::uint32_t RefUnits = 0;
    char LabelLinear[kLabelSize] = {};
    char LabelLog[kLabelSize] = {};
    std::uint32_t LabelType = 0;
    float PctFullScale = 0.0f;
    float CalRatio = 0.0f;
    std::uint32_t ConversionType = 0;
    std::uint32_t IntegrationType = 0;
    char ChannelName[kChannelNameSize] = {};
    std::array<std::uint8_t, kReserved1Size> Reserved1{};
    std::uint16_t CalCreateMode = 0;
    float TransducerSensitivityVolts = 0.0f;
    float DAQVoltageRange = 0.0f;
    std::uint16_t CalVersion = 0;
    std::array<std::uint8_t, kReserved2Size> Reserved2{};

    // Writes exactly kPackedSize bytes.
    void Pack(std::uint8_t* out) const;

    // Reads exactly kPackedSize bytes. A text field with no terminator in
    // its bytes gets one in its last character, so it never runs into the
    // next field; every well-formed record comes back byte for byte.
    static TChannelCalibration Unpack(const std::uint8_t* in);
    // As above for a buffer of known size: false, and `out` untouched, when
    // fewer than kPackedSize bytes are available.
    static bool Unpack(const std::uint8_t* in, std::size_t size, TChannelCalibration& out);

    // Copies text into a label or name field, cut to fit its terminator;
    // the rest of the field is zeroed.
    template <std::size_t N>
    static void SetText(char (&field)[N], const char* text)
    {
        std::memset(field, 0, N);
        std::memcpy(field, text, ::strnlen(text, N - 1));
    }

    // What an uncalibrated channel shows: percent of full scale and dBr,
    // unit gain. Fields not listed here (name, transducer data) are kept.
    void LoadUncalibratedDefaults();

    bool operator==(const TChannelCalibration&) const = default;
};

// The start-up record of a channel: 0 is the microphone on the left input,
// 1 the accelerometer on the right; other values are clamped to 0 … 1.
TChannelCalibration DefaultChannelCalibration(int channel);

// A unit label as the screen shows it. The program's own labels are stored
// (in .cfg files and wave files) with the unit symbols of old files, such as
// "20uPA" and "1G"; on screen they read with proper symbols ("20 µPa", "1 g").
// Any other label, a user's own among them, is shown as stored.
std::string ShownUnitLabel(std::string_view stored);
