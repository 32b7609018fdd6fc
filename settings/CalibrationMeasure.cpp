#include "settings/CalibrationMeasure.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

#include "audio/TWaveData.h"
#include "engine/ScalingOpts.h"
#include "engine/SpectralData.h"
#include "engine/TProcessingSettings.h"
#include "engine/TSampleBuffer.h"
#include "engine/TSmoothing.h"
#include "platform/Clock.h"
#include "platform/NumberText.h"

namespace calibration {

namespace {

constexpr std::uint32_t kBlock = 8192;
constexpr std::uint32_t kHop = kBlock / 2;

TProcessingSettings MeasuringSettings(const TWaveFormat& format)
{
    TProcessingSettings p;
    p.Format = format;
    p.FFTsize = kBlock;
    p.DecimationRatio = 1;
    p.AverageType = {0, 0};
    p.AverageMode = {1, 1};
    p.AverageBlocks = {1000, 1000};
    p.AverageSpeed = {4, 4};
    p.SmoothingWindow = smoothing::Flattop;
    p.OverlapPercent = 50;
    p.ChannelProcessing = 2;
    p.EnableOverloadDetection = 1;
    p.SpanFraction = 1.0f;
    return p;
}

// The Flattop window's main lobe reaches four lines either side of a tone.
constexpr std::int64_t kMainLobeLines = 4;
// The floor is taken from at least this many lines either side of the tone.
constexpr std::int64_t kFloorReach = 2 * kMainLobeLines + 8;

CalibrationTone ToneOf(const SpectralData& data)
{
    CalibrationTone tone;
    float frequency = 0.0f;
    const std::uint32_t from = data.FrequencyToBin(800.0f);
    const std::uint32_t to = std::min(data.FrequencyToBin(1200.0f), data.GetLines() - 1);
    data.FindPeak(from, to, &frequency, &tone.level, 0);
    auto line = static_cast<std::int64_t>(data.FrequencyToBin(frequency));
    // Without a local peak in the band the search answers line 0, the input's
    // DC, whose level is no tone's: the band's strongest line stands for it.
    if (line < from || line > to) {
        line = from;
        for (std::uint32_t b = from; b <= to; ++b)
            if (data.GetValue(b) > data.GetValue(static_cast<std::uint32_t>(line)))
                line = b;
        tone.level = std::max(0.0f, data.GetValue(static_cast<std::uint32_t>(line)));
    }
    const std::int64_t first = std::max<std::int64_t>(1, std::min<std::int64_t>(from, line - kFloorReach));
    const std::int64_t last = std::min<std::int64_t>(static_cast<std::int64_t>(data.GetLines()) - 1,
                                                     std::max<std::int64_t>(to, line + kFloorReach));
    std::vector<float> lines;
    for (std::int64_t b = first; b <= last; ++b)
        if (std::abs(b - line) > kMainLobeLines)
            lines.push_back(data.GetValue(static_cast<std::uint32_t>(b)));
    if (!lines.empty()) {
        const auto middle = lines.begin() + static_cast<std::ptrdiff_t>(lines.size() / 2);
        std::nth_element(lines.begin(), middle, lines.end());
        tone.floor = std::max(0.0f, *middle);
    }
    return tone;
}

std::string Padded(std::string text, std::size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

} // namespace

float CalibrationTone::AboveFloorDb() const
{
    if (level <= 0.0f)
        return 0.0f;
    if (floor <= 0.0f)
        return 1000.0f;
    return 20.0f * std::log10(level / floor);
}

bool CalibrationTone::Found() const
{
    return level > 0.0f && AboveFloorDb() >= kToneAboveFloorDb;
}

bool MeasureCalibrationFile(const TWaveData& wave, TChannelCalibration* left, TChannelCalibration* right,
                            CalibrationTone* tones)
{
    const TWaveFormat format(wave.GetSampleRate(), wave.GetChannels(), wave.GetBytesPerSample());
    const std::uint64_t rate = format.SamplingRate;
    const std::uint64_t frames = wave.GetNumFrames();
    if (rate == 0 || frames < 5 * rate + kBlock)
        return false;
    const std::int64_t usable = static_cast<std::int64_t>((frames - 4 * rate - rate) / kBlock) * 2 - 2;
    if (usable <= 0)
        return false;
    const auto blocks = static_cast<std::uint64_t>(usable);

    const TProcessingSettings settings = MeasuringSettings(format);
    ScalingOpts scaling;
    scaling.AmpScaleType = ScalingOpts::kLinear;
    scaling.FreqScaleType = ScalingOpts::kFftLinear;
    const TSmoothing window(kBlock, smoothing::Flattop, smoothing::Amplitude);
    std::unique_ptr<TSampleBuffer> buffer[2];
    std::unique_ptr<SpectralData> data[2];
    int peak[2] = {0, 0};
    for (int c = 0; c < 2; ++c) {
        buffer[c] = std::make_unique<TSampleBuffer>(kBlock, format, 1, 0);
        data[c] = std::make_unique<SpectralData>(settings, scaling, c, false);
        data[c]->SetCalibration(nullptr);
        data[c]->SetAveraging(4, 1000);
        if (buffer[c]->HasFailed() || data[c]->HasFailed())
            return false;
    }

    std::uint64_t position = 4 * rate;
    for (std::uint64_t b = 0; b < blocks && position + kBlock <= frames; ++b, position += kHop) {
        for (int c = 0; c < 2; ++c) {
            if (!wave.GetFrames(buffer[c]->GetSamplePtr(0), position, kBlock, c))
                return false;
            peak[c] = std::max(peak[c], buffer[c]->GetPeakValue());
            float* block = data[c]->GetComplexBuffer();
            for (std::uint32_t i = 0; i < kBlock; ++i)
                block[i] = buffer[c]->GetSample(i, false);
            window.ApplyWindow(block);
            data[c]->ComputeSpectrum();
            data[c]->Average(false);
        }
    }

    TChannelCalibration* records[2] = {left, right};
    CalibrationTone found[2];
    for (int c = 0; c < 2; ++c) {
        found[c] = ToneOf(*data[c]);
        if (records[c] != nullptr)
            records[c]->PctFullScale = peak[c] >= 100 ? 1.0f : found[c].level / 100.0f;
    }
    if (format.NumChannels == 1) {
        found[1] = found[0];
        if (left != nullptr && right != nullptr)
            right->PctFullScale = left->PctFullScale;
    }
    if (tones != nullptr)
        std::copy(std::begin(found), std::end(found), tones);
    return true;
}

CalibrationVerdict JudgeCalibration(float pctFullScale, float rangeVolts, const CalibrationTone* tone)
{
    CalibrationVerdict v;
    v.millivolts = rangeVolts * 707.10678f * pctFullScale;
    const bool overload = pctFullScale >= 1.0f;
    // A room's noise or a dead input can measure above the minimum level;
    // only a line standing clear of its floor is a calibrator's tone. Its
    // absence says more than a low level does.
    const bool noTone = !overload && tone != nullptr && !tone->Found();
    const bool tooLow = v.millivolts < 1.0f && !noTone;
    if (overload)
        v.message = "The calibration signal is overloading the input.\r\r"
                    "Please check the microphone calibrator and cabling.  Also try increasing the DAQ input "
                    "voltage range setting.";
    if (tooLow) {
        char text[512];
        std::snprintf(text, sizeof text,
                      "The calibration signal level is too low for accurate calibration. \r\r"
                      "The measured signal level was %f mV\rThe minimum allowable level is 1.0 mV\r\r"
                      "Please make sure that the microphone is placed in the calibrator and that it is turned on.",
                      static_cast<double>(v.millivolts));
        v.message = v.message.empty() ? std::string(text) : v.message + "\r\r" + text;
    }
    if (noTone) {
        char text[512];
        std::snprintf(text, sizeof text,
                      "No calibration tone was found between 800 and 1200 Hz: the strongest signal there "
                      "(%.2f mV) stands %.1f dB above the noise around it, where a calibrator's tone stands at "
                      "least %.0f dB above it.\r\r"
                      "Please make sure that the microphone is placed in the calibrator and that it is turned on.  "
                      "The calibration has not been changed.",
                      static_cast<double>(v.millivolts), static_cast<double>(tone->AboveFloorDb()),
                      static_cast<double>(kToneAboveFloorDb));
        v.message = text;
    }
    v.isError = overload || tooLow || noTone;
    v.accepted = !v.isError;
    if (v.accepted) {
        char text[160];
        std::snprintf(text, sizeof text, "The calibration was successful!  \r\rMeasured signal level is = %6.2f mV",
                      static_cast<double>(v.millivolts));
        v.message = text;
    }
    return v;
}

std::string HistoryLine(std::chrono::system_clock::time_point when, float rangeVolts, float refLevel,
                        float millivolts)
{
    TLocalTimeFields t;
    GetLocalTimeFields(std::chrono::system_clock::to_time_t(when), t);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%d_%02d_%02d_%02d:%02d:%02d", t.Year, t.Month, t.Day, t.Hour, t.Minute,
                  t.Second);
    // "%6.3f" and "%6.2f" in the C locale: the history is read on any desktop.
    return std::string("Mic Calibrated: ") + stamp + " DAQ gain = " + Padded(platform::FormatFixed(rangeVolts, 3), 6) +
           ", Test SPL = " + Padded(platform::FormatFixed(refLevel, 2), 6) +
           ", Measured level mVrms = " + platform::FormatFixed(millivolts) + "\n";
}

bool AppendHistory(const std::string& dataRoot, const std::string& line, std::string* failure)
{
    std::string path = dataRoot;
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += kHistoryFileName;
    const auto fail = [&](int error) {
        if (failure != nullptr)
            *failure = "The calibration history was not written: " + path + ": " + std::strerror(error) + ".";
        return false;
    };
    std::FILE* file = std::fopen(path.c_str(), "a");
    if (file == nullptr)
        return fail(errno);
    const bool written = std::fputs(line.c_str(), file) >= 0 && std::fflush(file) == 0;
    const int writeError = errno;
    if (std::fclose(file) != 0 || !written)
        return fail(written ? errno : writeError);
    return true;
}

} // namespace calibration
