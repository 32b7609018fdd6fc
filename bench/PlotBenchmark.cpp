// Times the spectrum plot's per-frame update: the live and peak-hold points
// of a 65536-point spectrum (32768 lines) for a plot area 1600 pixels wide,
// the power meter, four markers, and the painting of the pane into the
// back-buffer image. The target is under 2 ms a frame, so that 60 updates a
// second for two plots stay under a fifth of one core.

#include "plot/QuarnPlotLayout.h"
#include "plot/TQuarnPlot.h"
#include "plot/WideTrace.h"

#include "engine/ScalingOpts.h"
#include "engine/SpectralData.h"
#include "engine/TProcessingSettings.h"
#include "engine/TSmoothing.h"
#include "settings/MarkerOpts.h"
#include "settings/SpectrumOpts.h"

#include <QApplication>
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr std::uint32_t kFFTSize = 65536;
constexpr int kPlotWidth = 1600;
constexpr int kClientHeight = 640;

struct BenchPlot {
    BenchPlot(std::uint16_t freqScale, std::uint16_t plotType, bool powerMeter = false)
    {
        settings.SetFrameDefaults();
        settings.Format.Set(48000, 1, 3);
        settings.FFTsize = kFFTSize;
        settings.AverageMode = {0, 0};
        settings.AverageBlocks = {4, 4};
        scaling = ScalingOpts::FrameDefaults(0);
        scaling.FreqScaleType = freqScale;
        scaling.UtilityFreqSpanType = 0;
        spectrum = SpectrumOpts::FrameDefaults(0);
        spectrum.PlotType = plotType;
        spectrum.PlotTop = 0.0f;
        spectrum.PlotRange = 140.0f;
        spectrum.StartFreq = 0.0f;
        spectrum.StopFreq = 24000.0f;
        spectrum.IntervalFlag = 0;
        spectrum.ShowPowerMeter = powerMeter ? 1 : 0;
        for (int m = 0; m < 4; ++m) {
            markers.MarkerEnable[m] = 1;
            markers.MarkerFreq[m] = 1000.0f * (m + 1);
            markers.LabelType[m] = MarkerOpts::kFrequencyAndAmplitude;
        }

        data = std::make_unique<SpectralData>(settings, scaling, 0, false);
        data->SetPeakHoldMode(2);
        const TSmoothing window(kFFTSize, smoothing::Flattop,
                                freqScale == ScalingOpts::kOctave ? smoothing::Energy : smoothing::Amplitude);
        std::mt19937 generator(5);
        std::normal_distribution<float> noise(0.0f, 300.0f);
        for (int block = 0; block < 2; ++block) {
            float* samples = data->GetComplexBuffer();
            for (std::uint32_t n = 0; n < kFFTSize; ++n)
                samples[n] = 4e6f * std::sin(0.1309f * float(n)) + noise(generator);
            window.ApplyWindow(samples);
            data->SetBlockTime(0.1 * block);
            data->ComputeSpectrum();
            data->Average(false);
            data->UpdatePeakHold();
        }

        plot = std::make_unique<TQuarnPlot>();
        // The client area around a plot area of that width.
        const int clientWidth = quarn_layout::kLeftMargin + kPlotWidth + QuarnRightMargin(spectrum);
        plot->Create("Spectrum", QRect(0, 0, clientWidth, kClientHeight), &settings, &scaling, &markers, &spectrum,
                     data.get(), nullptr, 0);
    }

    TProcessingSettings settings;
    ScalingOpts scaling;
    MarkerOpts markers;
    SpectrumOpts spectrum;
    std::unique_ptr<SpectralData> data;
    std::unique_ptr<TQuarnPlot> plot;
};

void RunFrames(benchmark::State& state, BenchPlot& bench)
{
    if (bench.plot->PaneRect(0).Width() != kPlotWidth) {
        state.SkipWithError("the plot area is not 1600 pixels wide");
        return;
    }
    // The first frame draws the whole image; the rest only the pane.
    bench.plot->UpdateDisplay(0.0f);
    for (auto _ : state) {
        bench.plot->UpdateDisplay(0.0f);
        benchmark::DoNotOptimize(bench.plot->LivePoints(0).data());
    }
    state.counters["points"] = static_cast<double>(bench.plot->LivePoints(0).size());
}

// Log frequency axis: the upper columns each take the maximum over dozens
// of lines, the heaviest narrowband case.
void BM_PlotFrameLogLine(benchmark::State& state)
{
    BenchPlot bench(ScalingOpts::kFftLog, 0);
    RunFrames(state, bench);
}
BENCHMARK(BM_PlotFrameLogLine)->Unit(benchmark::kMicrosecond);

void BM_PlotFrameLinearLine(benchmark::State& state)
{
    BenchPlot bench(ScalingOpts::kFftLinear, 0);
    RunFrames(state, bench);
}
BENCHMARK(BM_PlotFrameLinearLine)->Unit(benchmark::kMicrosecond);

void BM_PlotFrameLinearBars(benchmark::State& state)
{
    BenchPlot bench(ScalingOpts::kFftLinear, 1);
    RunFrames(state, bench);
}
BENCHMARK(BM_PlotFrameLinearBars)->Unit(benchmark::kMicrosecond);

// With the power meter: its band power sums every displayed line each frame.
void BM_PlotFrameLogLineWithPowerMeter(benchmark::State& state)
{
    BenchPlot bench(ScalingOpts::kFftLog, 0, true);
    RunFrames(state, bench);
}
BENCHMARK(BM_PlotFrameLogLineWithPowerMeter)->Unit(benchmark::kMicrosecond);

// Third-octave bands drawn as a line: the bands become a splined table each
// frame.
void BM_PlotFrameThirdOctaveLine(benchmark::State& state)
{
    BenchPlot bench(ScalingOpts::kOctave, 0);
    RunFrames(state, bench);
}
BENCHMARK(BM_PlotFrameThirdOctaveLine)->Unit(benchmark::kMicrosecond);

// A 2-pixel trace of a point a column across a 700-pixel pane, as the
// second plot draws its live and peak-hold traces at 48 kHz: filled by
// FillWidePolyline, and the same through Qt's wide-pen stroker, the way it
// was drawn before. Argument: the spread of the level from column to column
// in pixels (a quiet floor, a spiky spectrum).
std::vector<PlotPoint> WideBenchTrace(double spread)
{
    std::mt19937 random(7);
    std::normal_distribution<double> jump(0.0, spread);
    std::vector<PlotPoint> points;
    double y = 125;
    for (int x = 0; x < 700; ++x) {
        y = std::clamp(y + jump(random), 3.0, 247.0);
        points.push_back({x, static_cast<int>(y)});
    }
    return points;
}

void BM_WideTraceFill(benchmark::State& state)
{
    const std::vector<PlotPoint> points = WideBenchTrace(static_cast<double>(state.range(0)));
    QImage image(700, 250, QImage::Format_RGB32);
    image.fill(Qt::black);
    const PixelRows rows{reinterpret_cast<std::uint32_t*>(image.bits()), image.bytesPerLine() / 4};
    for (auto _ : state) {
        FillWidePolyline(points, PixelMapping{}, 2.0, PlotRect{0, 0, 700, 250}, 0xFF00FF00u, rows);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_WideTraceFill)->Arg(3)->Arg(30)->Unit(benchmark::kMicrosecond);

void BM_WideTraceQtStroker(benchmark::State& state)
{
    const std::vector<PlotPoint> points = WideBenchTrace(static_cast<double>(state.range(0)));
    QPolygon polygon;
    for (const PlotPoint& p : points)
        polygon << QPoint(p.x, p.y);
    QImage image(700, 250, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter dc(&image);
    QPen pen(Qt::green);
    pen.setWidth(2);
    dc.setPen(pen);
    for (auto _ : state) {
        dc.drawPolyline(polygon);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_WideTraceQtStroker)->Arg(3)->Arg(30)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    // The plot draws into its own image; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
