#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <functional>
#include <locale>
#include <memory>
#include <tuple>
#include <vector>

#include <sys/stat.h>

#include "engine/CompensationFile.h"
#include "tests/engine/SpectralTestSupport.h"
#include "tests/support/PlatformTestSupport.h"

using namespace spectral_test;

namespace {

constexpr double kPi = 3.14159265358979;
// 1000 lines of 48000/65536 Hz: the tone falls exactly on a line.
constexpr std::uint32_t kToneLine = 1000;
constexpr double kToneHz = kToneLine * 48000.0 / 65536.0;

std::unique_ptr<SpectralData> Make(std::uint16_t amp = ScalingOpts::kLogarithmic,
                                   std::uint16_t weighting = 0, std::uint32_t rate = 48000,
                                   std::uint32_t fft = 65536)
{
    ScalingOpts scaling = MakeScaling(amp);
    scaling.StandardWeighting = weighting;
    return std::make_unique<SpectralData>(MakeSettings(rate, fft), scaling, 0, false);
}

TChannelCalibration Calibration(std::uint32_t units, float ratio, std::uint32_t labelType,
                                std::uint32_t conversion = 0, std::uint32_t integration = 0)
{
    TChannelCalibration c;
    c.IsEnabled = 1;
    std::tie(c.RefUnits, c.CalRatio, c.LabelType, c.ConversionType, c.IntegrationType) =
        std::tuple(units, ratio, labelType, conversion, integration);
    std::snprintf(c.LabelLinear, sizeof c.LabelLinear, "Unit %u", units);
    std::snprintf(c.LabelLog, sizeof c.LabelLog, "Unit %u dB", units);
    return c;
}

// |line|² of a full-scale sine on kToneLine through the Flattop window.
double TonePower(SpectralData& d)
{
    RunBlock(d, Tone(MakeSettings(), kToneHz, 1.0), TSmoothing(65536, smoothing::Flattop, smoothing::Amplitude));
    const float* line = d.GetComplexSpectrum() + 2 * kToneLine;
    return double(line[0]) * line[0] + double(line[1]) * line[1];
}

double CorrectionDb(const SpectralData& weighted, const SpectralData& flat, std::uint32_t i)
{
    return 20 * std::log10(double(weighted.GetCorrection()[i]) / flat.GetCorrection()[i]);
}

std::string Write(const TempFolder& folder, const std::string& name, const std::string& text)
{
    WriteText(folder.Path(name), text);
    return folder.Path(name);
}

// Loads a file into a fresh object; returns the messages it raised.
std::vector<std::string> Load(SpectralData& d, const std::string& path)
{
    MessageLog log;
    d.LoadCompensation(path.c_str(), true);
    return log.texts;
}

const std::string kFlat6 = "; flat +6 dB\n10\t6\n1000\t6\n30000\t6\n";

} // namespace

TEST(SpectralCorrectionTest, EachUnitReadsItsReferenceLevel)
{
    struct Case {
        const char* name;
        TChannelCalibration record; // used when enabled
        std::uint16_t amp;
        bool tone; // a full-scale sine on the line, else a line power of 1
        double expected, tolerance;
        const char* label;
    };
    const auto kLinear = ScalingOpts::kLinear, kLog = ScalingOpts::kLogarithmic;
    const float root2 = float(std::sqrt(2.0));
    // The Flattop table's coherent gain is 0.99945: −0.005 dB.
    const Case cases[] = {
        {"full scale in dBr", {}, kLog, true, 0.0, 0.006, "dBr"},
        {"full scale in percent", {}, kLinear, false, 100.0, 1e-4, "Pct FS"},
        // A full-scale sine of CalRatio √2 read as rms (LabelType 1) is 1 Pa rms.
        {"SPL", Calibration(2, root2, 1), kLog, true, 93.9794, 0.006, "SPL"},
        {"pascal", Calibration(2, root2, 1), kLinear, true, 1.0, 1e-3, "PA"},
        {"1 V in dBu", Calibration(7, 1.0f, 0), kLog, false, 2.213966, 1e-5, "Unit 7 dB"},
        {"calibrated linear: no percent", Calibration(7, 1.0f, 0), kLinear, false, 1.0, 1e-6, "Unit 7"},
        // A line power of 1 is one of each unit: its reference level in dB.
        {"unit 8 in dB", Calibration(8, 1.0f, 0), kLog, false, 93.9794, 1e-4, "SPL"},
        {"unit 8", Calibration(8, 1.0f, 0), kLinear, false, 1.0, 1e-5, "PA"},
        {"unit 9 in dB", Calibration(9, 1.0f, 0), kLog, false, 170.752, 1e-4, "Unit 9 dB"},
        {"unit 9", Calibration(9, 1.0f, 0), kLinear, false, 1.0, 1e-4, "Unit 9"},
        {"unit 10 in dB", Calibration(10, 1.0f, 0), kLog, false, 120.0, 1e-4, "SPL"},
        {"unit 10", Calibration(10, 1.0f, 0), kLinear, false, 1.0, 1e-5, "PA"},
        {"unit 11 in dB", Calibration(11, 1.0f, 0), kLog, false, 120.0, 1e-4, "SPL"},
        {"unit 11", Calibration(11, 1.0f, 0), kLinear, false, 1.0, 1e-5, "PA"},
        // 1 g peak read in in/s² (ConversionType 2), no unit offset.
        {"acceleration", Calibration(3, 1.0f, 0, 2), kLog, true, 20 * std::log10(386.088), 0.006, "Unit 3 dB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto d = Make(c.amp);
        if (c.record.IsEnabled)
            d->SetCalibration(&c.record);
        SetLines(*d, {{kToneLine, c.tone ? TonePower(*d) : 1.0}}); // as averaging stores a steady power
        EXPECT_NEAR(d->GetValue(kToneLine), c.expected, c.tolerance);
        EXPECT_STREQ(d->GetUnitLabel(true), c.label);
    }
}

// Linear octave bands are shown in the unit: a band 20 dB below the unit's
// reference level reads 0.1 of it, whatever the unit (3 has no offset).
TEST(SpectralCorrectionTest, LinearBandsReadInTheirUnit)
{
    for (std::uint32_t units : {2u, 3u, 7u, 8u, 9u, 10u, 11u}) {
        SpectralData bands(MakeSettings(), MakeScaling(ScalingOpts::kLinear, ScalingOpts::kOctave), 0, false);
        const TChannelCalibration c = Calibration(units, 1.0f, 0);
        bands.SetCalibration(&c);
        const std::uint32_t band = bands.FrequencyToBand(1000.0f);
        SpectralDataTestAccess::BandLevels(bands)[band] = -20.0f;
        EXPECT_NEAR(bands.GetValue(band), 0.1, 1e-5) << "unit " << units;
    }
}

// Labels fill their fields up to the last byte, which always ends them.
TEST(SpectralCorrectionTest, ALabelFillingItsFieldKeepsAllButTheLastByte)
{
    TChannelCalibration c = Calibration(7, 1.0f, 0);
    std::fill(std::begin(c.LabelLinear), std::end(c.LabelLinear), 'v');
    std::fill(std::begin(c.LabelLog), std::end(c.LabelLog), 'd');
    auto linear = Make(ScalingOpts::kLinear), log = Make(ScalingOpts::kLogarithmic);
    linear->SetCalibration(&c);
    log->SetCalibration(&c);
    EXPECT_EQ(std::string(linear->GetUnitLabel(true)), std::string(SpectralData::kLabelLength - 1, 'v'));
    EXPECT_EQ(std::string(log->GetUnitLabel(true)), std::string(SpectralData::kLabelLength - 1, 'd'));
}

TEST(SpectralCorrectionTest, ConversionLabelTypeAndIntegrationScaleTheLines)
{
    auto flat = Make(ScalingOpts::kLogarithmic, 0, 48000, 1024), d = Make(ScalingOpts::kLogarithmic, 0, 48000, 1024);
    const auto plain = Calibration(3, 2.0f, 0);
    flat->SetCalibration(&plain);
    // Line i's correction under a record, relative to the plain one.
    auto ratio = [&](const TChannelCalibration& c, std::uint32_t i) {
        d->SetCalibration(&c);
        return double(d->GetCorrection()[i]) / flat->GetCorrection()[i];
    };
    const double factors[] = {1, 32.174, 386.088, 9806.6352, 32.174, 386.088, 9806.6352,
                              386088, 386088, 386088000, 386088000, 1};
    for (std::uint32_t type = 0; type < std::size(factors); ++type)
        EXPECT_NEAR(ratio(Calibration(3, 2.0f, 0, type), 7), factors[type], factors[type] * 1e-6) << type;
    EXPECT_NEAR(ratio(Calibration(3, 2.0f, 2), 7), 2.0, 1e-6);
    // Integration divides by ω or ω², DC excepted.
    for (std::uint32_t integration : {1u, 2u}) {
        EXPECT_EQ(ratio(Calibration(3, 2.0f, 0, 0, integration), 0), 1.0);
        for (std::uint32_t i : {1u, 10u, 511u}) {
            const double expected = 1 / std::pow(2 * kPi * i * 46.875, integration);
            EXPECT_NEAR(ratio(Calibration(3, 2.0f, 0, 0, integration), i), expected, expected * 1e-6) << i;
        }
    }
}

TEST(SpectralCorrectionTest, WeightingFollowsTheStandardCurves)
{
    auto flat = Make();
    auto a = Make(ScalingOpts::kLogarithmic, 1);
    auto c = Make(ScalingOpts::kLogarithmic, 3);
    for (std::uint16_t weighting : {1, 2, 3})
        EXPECT_NEAR(CorrectionDb(*Make(ScalingOpts::kLogarithmic, weighting), *flat, 1365), 0.0, 0.05); // 1 kHz

    // IEC 61672 analytic weightings.
    auto sq = [](double x) { return x * x; };
    // R_A = R_C · f² / √((f²+107.7²)(f²+737.9²))
    auto rC = [&](double f) { return sq(12194) * sq(f) / ((sq(f) + sq(20.6)) * (sq(f) + sq(12194))); };
    auto iecC = [&](double f) { return 20 * std::log10(rC(f)) + 0.06; };
    auto iecA = [&](double f) {
        return 20 * std::log10(rC(f) * sq(f) / std::sqrt((sq(f) + sq(107.7)) * (sq(f) + sq(737.9)))) + 2.00;
    };
    std::pair<double, double> worst; // A, C
    for (std::uint32_t i = flat->FrequencyToBin(20); i <= flat->FrequencyToBin(20000); ++i) {
        const double f = flat->BinToFrequency(i);
        worst.first = std::max(worst.first, std::fabs(CorrectionDb(*a, *flat, i) - iecA(f)));
        worst.second = std::max(worst.second, std::fabs(CorrectionDb(*c, *flat, i) - iecC(f)));
    }
    EXPECT_TRUE(worst.first < 0.2 && worst.second < 0.2) << worst.first << " dB (A), " << worst.second << " dB (C)";

    // Below the table's first point its value holds; above its last, the last.
    for (std::uint32_t i = 0; i < a->FrequencyToBin(10); ++i)
        EXPECT_NEAR(CorrectionDb(*a, *flat, i), -70.4, 1e-4) << i;
    auto wideFlat = Make(ScalingOpts::kLogarithmic, 0, 96000);
    auto wideA = Make(ScalingOpts::kLogarithmic, 1, 96000);
    for (std::uint32_t i = wideA->FrequencyToBin(39810); i < wideA->GetLines(); i += 997)
        EXPECT_NEAR(CorrectionDb(*wideA, *wideFlat, i), -20.0, 1e-4) << i;
}

TEST(SpectralCorrectionTest, CompensationFileIsValidatedThenLowersTheCorrectedLevelUnlessMemoryFails)
{
    TempFolder folder;
    auto flat = Make();
    auto d = Make();
    const std::string missing = folder.Path("none.txt");
    // A named pipe is refused, never opened: an open would wait for a writer.
    const std::string pipe = folder.Path("pipe.mic");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {pipe, "Failure opening mic compensation file: " + pipe + " (it is not a regular file; it was not opened)"},
        {folder.folder.string(),
         "Failure opening mic compensation file: " + folder.folder.string() +
             " (it is not a regular file; it was not opened)"},
        {Write(folder, "two.txt", "100\t1\n200\t2\n"), "INSUFFICIENT_TABLE_ENTRIES"},
        {Write(folder, "back.txt", "100\t1\n50\t2\n200\t3\n"), "TABLE_NOT_ASCENDING"},
        {Write(folder, "negative.txt", "-10\t1\n50\t2\n200\t3\n"), "TABLE_NOT_ASCENDING"},
        {missing, "Failure opening mic compensation file: " + missing},
    };
    for (const auto& [path, message] : cases) {
        EXPECT_EQ(Load(*d, path), std::vector<std::string>{message});
        EXPECT_FALSE(d->HasCompensation() || d->HasFailed());
    }
    EXPECT_TRUE(Load(*d, Write(folder, "step.txt", "100\t1\n200\t2\n200\t5\n300\t3\n")).empty());
    EXPECT_TRUE(d->HasCompensation());
    d->LoadCompensation("", true);
    EXPECT_FALSE(d->HasCompensation());

    ASSERT_TRUE(Load(*d, Write(folder, "flat6.txt", kFlat6)).empty());
    for (std::uint32_t i = 0; i < d->GetLines(); i += 331)
        EXPECT_NEAR(CorrectionDb(*d, *flat, i), -6.0, 1e-4) << i;
    EXPECT_NEAR(10 * std::log10(TonePower(*d)), -6.0, 0.006);

    // The same file with CRLF line ends reads the same.
    auto crlf = Make();
    ASSERT_TRUE(Load(*crlf, Write(folder, "crlf.txt", "; c\r\n10\t6\r\n1000\t6\r\n30000\t6\r\n")).empty());
    EXPECT_TRUE(std::equal(d->GetCorrection(), d->GetCorrection() + d->GetLines(), crlf->GetCorrection()));

    // Dropping the curve restores the plain correction.
    d->LoadCompensation(nullptr, false);
    EXPECT_EQ(d->GetCorrection()[kToneLine], flat->GetCorrection()[kToneLine]);

    // Allocation failures leave no curve.
    const std::string path = folder.Path("flat6.txt");
    auto w = Make();
    MessageLog log;
    platform::FailNextAllocations(1);
    EXPECT_FALSE(d->LoadCompensation(path.c_str(), true));
    EXPECT_FALSE(d->HasCompensation());
    EXPECT_TRUE(d->HasFailed());

    ScalingOpts aWeighted = MakeScaling(ScalingOpts::kLogarithmic);
    aWeighted.StandardWeighting = 1;
    platform::FailNextAllocations(1);
    w->SetScaling(aWeighted, false);
    EXPECT_TRUE(w->HasFailed());
    EXPECT_EQ(log.texts, std::vector<std::string>(2, kNoMemory));
}

TEST(SpectralCorrectionTest, CompensationRowsAreReadLikeTheWriterMeantThem)
{
    TempFolder folder;
    CompensationFile file;
    // The tail of an over-long line is dropped, not read as a row of its own.
    const std::string longComment = ";" + std::string(126, 'x') + "5\t5\n";
    const std::string longRow = "100 1" + std::string(130, ' ') + "junk\n";
    const std::string rows = "200 \t 500\n+300\t-2.5e0 trailing\n400\tnan\n500\t1\n";
    const std::string text = "\xEF\xBB\xBF" + longComment + ";SPLINE OFF\n" + longRow + rows;
    ASSERT_TRUE(file.Read(Write(folder, "rows.txt", text).c_str()));
    EXPECT_TRUE(file.Linear());
    ASSERT_EQ(file.Count(), 3u); // "nan" ends the table
    EXPECT_EQ(std::vector(file.Points(), file.Points() + 6), std::vector<float>({100, 1, 200, 240, 300, -2.5f}));

    // A byte-order mark straight before a row: the whole row is read.
    ASSERT_TRUE(file.Read(Write(folder, "bom.txt", "\xEF\xBB\xBF" "100\t1.5\n200\t2\n300\t3\n").c_str()));
    EXPECT_EQ(std::vector(file.Points(), file.Points() + 2), std::vector<float>({100, 1.5f}));

    std::string many;
    for (int i = 0; i < 524290; ++i)
        many += std::to_string(i) + "\t0\n";
    ASSERT_TRUE(file.Read(Write(folder, "many.txt", many).c_str()));
    EXPECT_EQ(file.Count(), CompensationFile::kMaxPoints);
    // Every row kept its place as the table grew.
    for (std::size_t row : {std::size_t{0}, std::size_t{1000}, std::size_t{100000}, std::size_t{CompensationFile::kMaxPoints - 1}})
        EXPECT_EQ(file.Points()[2 * row], float(row)) << row;

    // Every line end an editor may leave reads the same rows: LF, CR LF,
    // CR CR LF and a lone CR (where the comment line must end too).
    for (const char* end : {"\n", "\r\n", "\r\r\n", "\r\r\r\n", "\r"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(end)));
        const std::string ends(end);
        ASSERT_TRUE(file.Read(Write(folder, "ends.txt", ";SPLINE OFF" + ends + "10\t1" + ends + "20\t2" + ends +
                                                              "30\t3" + ends + "40\t4").c_str()));
        EXPECT_TRUE(file.Linear());
        EXPECT_EQ(std::vector(file.Points(), file.Points() + 2 * file.Count()),
                  std::vector<float>({10, 1, 20, 2, 30, 3, 40, 4}));
    }

    // A blank line ends the table whatever the line ends: two CRs with no LF
    // after them are a line end and a blank line.
    for (const char* blank : {"\n\n", "\r\n\r\n", "\r\r"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(blank)));
        ASSERT_TRUE(file.Read(Write(folder, "blank.txt", "10\t1\n20\t2\n30\t3" + std::string(blank) + "40\t4\n").c_str()));
        EXPECT_EQ(file.Count(), 3u);
    }

    // Numbers ignore the desktop locale, where streams and printf alike use ','.
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr) {
        std::locale::global(std::locale("de_DE.UTF-8"));
        const bool read = file.Read(Write(folder, "de.txt", "20.25\t6.5\n1000.5\t6\n20000\t6\n").c_str());
        std::locale::global(std::locale::classic());
        std::setlocale(LC_ALL, "C");
        ASSERT_TRUE(read);
        EXPECT_EQ(std::vector(file.Points(), file.Points() + 3), std::vector<float>({20.25f, 6.5f, 1000.5f}));
    }

    // Found by fuzzing: the curve through rows 1e-30 Hz apart overflowed and
    // turned every line's correction into NaN, which no limit catches.
    auto d = Make();
    ASSERT_TRUE(Load(*d, TALVENOR_FUZZ_SEEDS "/compensation/points-a-hair-apart.mic").empty());
    ASSERT_TRUE(d->HasCompensation());
    const float* corrected = d->GetCorrection();
    EXPECT_TRUE(std::all_of(corrected, corrected + d->GetLines(), [](float c) { return std::isfinite(c); }));
}

TEST(SpectralCorrectionTest, DegenerateScalesGiveNoValueNeverInfinity)
{
    ScalingOpts density = MakeScaling(ScalingOpts::kLogarithmic);
    density.SpectralDensityFlag = 1;
    auto noRange = MakeSettings(48000, 1024), noSpan = noRange;
    noRange.Format.MaxValue = noRange.Format.MinValue = 0; // no sample range
    noSpan.SpanFraction = 0.0f;                            // no line spacing to divide the density by
    const auto tone = Tone(noSpan, 4687.5, 1.0);
    for (const TProcessingSettings& settings : {noRange, noSpan}) {
        SpectralData d(settings, density, 0, false);
        std::copy(tone.begin(), tone.end(), d.GetComplexBuffer());
        d.ComputeSpectrum();
        EXPECT_TRUE(std::all_of(d.GetCorrection(), d.GetCorrection() + d.GetLines(), [](float c) { return c == 0; }));
        SpectralDataTestAccess::AvgPower(d)[100] = d.GetComplexSpectrum()[200];
        EXPECT_EQ(d.GetValue(100), SpectralData::kNoValue);
    }
}

TEST(SpectralCorrectionTest, ValuesOutsideTheLinesOffsetsAndBandValues)
{
    auto d = Make();
    EXPECT_EQ(std::vector({d->GetValue(d->GetLines()), d->GetValue(std::uint32_t(-1)),
                           Make(ScalingOpts::kLinear)->GetValue(std::uint32_t(-1), true)}),
              std::vector({0.0f, 0.0f, 0.0f}));

    SetLines(*d, {{10, 1.0}});
    THoldEntry* hold = SpectralDataTestAccess::Hold(*d);
    hold[10].Value = -3.0f;
    auto record = Calibration(2, 1.0f, 0);
    std::snprintf(record.LabelLog, sizeof record.LabelLog, "%s", "Relative to plot");
    d->AddOffset(6.0f, record);
    EXPECT_FLOAT_EQ(d->GetValue(10), 6.0f);
    EXPECT_NEAR(SpectralDataTestAccess::AvgPower(*d)[10], std::pow(10.0, 0.6), 1e-5);
    EXPECT_FLOAT_EQ(hold[10].Value, 3.0f);
    // Missing values stay missing rather than becoming −993.9.
    const float no = SpectralData::kNoValue;
    EXPECT_EQ(std::vector({d->GetValue(11), hold[11].Value, d->GetTotalPower()}), std::vector({no, no, no}));
    EXPECT_STREQ(d->GetUnitLabel(false), "Relative to plot");
    EXPECT_FALSE(d->IsCalibrated()); // the record lends its labels only

    d->SetUnitLabels(std::string(80, 'L').c_str(), nullptr);
    EXPECT_EQ(std::string(d->GetCalibration().LabelLinear), std::string(59, 'L'));
    EXPECT_STREQ(d->GetUnitLabel(false), "Relative to plot");

    // Band values convert back to the unit.
    SpectralData bands(MakeSettings(), MakeScaling(ScalingOpts::kLinear, ScalingOpts::kOctave), 0, false);
    const std::uint32_t band = bands.GetFirstBand();
    SpectralDataTestAccess::BandLevels(bands)[band] = 0.0f;
    EXPECT_NEAR(bands.GetValue(band), 100.0, 1e-4);
    // 0 dB re one unit is one unit, whatever dB offset the unit carries.
    for (std::uint32_t units : {2u, 3u, 7u, 9u, 10u}) {
        const auto c = Calibration(units, 1.0f, 0);
        bands.SetCalibration(&c);
        EXPECT_NEAR(bands.GetValue(band), 1.0, 1e-5) << units;
    }
    EXPECT_EQ(bands.GetValue(bands.GetBandCount()), 0.0f);
}

// The run loop asks every step whether a logging object may take its display
// object's transform. The lines are compared once per change of either
// correction: a correction written behind the objects' back goes unseen
// (the comparison was skipped), one set through the object is seen at once.
TEST(SpectralCorrectionTest, TransformsLikeComparesTheCorrectionsOnlyAfterEitherChanged)
{
    auto display = Make(ScalingOpts::kLogarithmic, 0, 48000, 4096);
    auto logging = Make(ScalingOpts::kLogarithmic, 0, 48000, 4096);
    ASSERT_TRUE(logging->TransformsLike(*display));

    SpectralDataTestAccess::Correction(*display)[7] *= 2.0f;
    EXPECT_TRUE(logging->TransformsLike(*display)) << "unchanged stamps: the lines were not compared again";
    EXPECT_FALSE(display->TransformsLike(*logging)) << "the other direction has not compared yet";
    SpectralDataTestAccess::Correction(*display)[7] /= 2.0f;

    const auto twice = Calibration(2, 2.0f, 0);
    const auto once = Calibration(2, 1.0f, 0);
    const auto sameAsOnce = Calibration(2, 1.0f, 0);
    struct Step {
        const char* what;
        std::function<void()> change;
        bool alike;
    };
    const std::vector<Step> steps = {
        {"logging calibrated twice as high", [&] { logging->SetCalibration(&twice); }, false},
        {"display calibrated the same", [&] { display->SetCalibration(&twice); }, true},
        {"display calibrated half as high", [&] { display->SetCalibration(&once); }, false},
        {"logging an equal record", [&] { logging->SetCalibration(&sameAsOnce); }, true},
        {"display A-weighted",
         [&] {
             ScalingOpts a = MakeScaling(ScalingOpts::kLogarithmic);
             a.StandardWeighting = 1;
             display->SetScaling(a, false);
         },
         false},
    };
    for (const Step& step : steps) {
        step.change();
        EXPECT_EQ(logging->TransformsLike(*display), step.alike) << step.what;
        EXPECT_EQ(logging->TransformsLike(*display), step.alike) << step.what << ", asked again";
        EXPECT_EQ(display->TransformsLike(*logging), step.alike) << step.what << ", the other way";
    }

    // Asked of two objects in turn, each answer stays its own.
    auto flat = Make(ScalingOpts::kLogarithmic, 0, 48000, 4096);
    logging->SetCalibration(nullptr);
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(logging->TransformsLike(*flat)) << round;
        EXPECT_FALSE(logging->TransformsLike(*display)) << round;
    }
}
