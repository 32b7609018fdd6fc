// The data log against the run control and the processing objects, with the
// clock and the tone inputs faked: file names and texts, the interval
// schedule, threshold, column alignment, channel modes, midnight, and the
// failures it must report without stopping the analyzer.

#include "tests/app_core/RunTestSupport.h"

#include "app/core/DataLogMeasurements.h"
#include "app/core/DataLogSheetRules.h"
#include "app/core/DataLogText.h"
#include "app/core/LogFile.h"
#include "app/core/TDataLog.h"
#include "settings/TextField.h"
#include "tests/support/PlatformTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cmath>
#include <cstring>
#include <locale.h>
#include <new>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using run_test::Harness;
using namespace ::testing;

namespace {

// A file's CRLF lines; a line without its CR, or an unterminated tail, reads "PARTIAL:...".
std::vector<std::string> Lines(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.ends_with('\r') ? line.substr(0, line.size() - 1) : "PARTIAL:" + line);
    return lines;
}

std::vector<std::string> Split(const std::string& line, char separator)
{
    std::vector<std::string> fields;
    std::size_t at = 0;
    for (std::size_t end = 0; end != std::string::npos; at = end + 1) {
        end = line.find(separator, at);
        fields.push_back(line.substr(at, end - at));
    }
    return fields;
}

// The run control with the real data log over a throw-away "Log" folder;
// the left input hears 1 kHz, the right 5 kHz. The first log channel logs
// ids 0 and 25 every second without threshold, the second is off.
class DataLogTest : public ::testing::Test {
protected:
    DataLogTest()
    {
        // Local time is UTC (each test runs in its own process), so dates and stamps are known.
        setenv("TZ", "UTC", 1);
        tzset();
        h.settings.m_DataPathsInUse.Set(DataPaths::kLog, folder);
        h.audio.input.left = {run_test::ChannelSignal::kTone, 1000.0, 0.5, 1};
        h.audio.input.right = {run_test::ChannelSignal::kTone, 5000.0, 0.5, 1};
        opts.Enable = 1;
        opts.bApplyThreshold = 0;
        opts.StartFreq = 100.0f;
        opts.StopFreq = 20000.0f;
        SetTextField(opts.LogFileName, "Mic");
        log.SetReport([this](const std::string& text) { reports.push_back(text); });
        questions.answer = platform::MessageResult::Yes;
    }
    ~DataLogTest() override { run.StopInput(); }

    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // The lines of the first log file, once the writer has caught up.
    std::vector<std::string> FileLines()
    {
        log.Flush();
        return Lines(folder + "/" + Files()[0]);
    }
    // Logs only the given ids.
    void Select(std::initializer_list<int> ids)
    {
        std::fill(std::begin(opts.DataItem), std::end(opts.DataItem), std::uint8_t{0});
        for (int id : ids)
            opts.DataItem[id] = 1;
    }

    TempFolder root;
    Harness h;
    // Answers the data log's questions (after the harness's hook).
    MessageLog questions;
    LoggingOpts& opts = h.settings.DataLog.Channel[0];
    std::string folder = root.Path("Log");
    std::vector<std::string> reports;
    TDataLog log{h.settings, h.processing, h.clock, h.observer};
    TRunControl run{h.settings, h.processing,
                    RunServices{h.timer, h.audio, h.daq, h.clock, h.observer, h.plots, h.utilities, log}};
};

} // namespace

// A line goes out whole however the system splits the write; a write that
// stops part way leaves the file as it was before the line, and says why.
TEST(LogFile, ALineIsWrittenWholeOrNotAtAll)
{
    TempFolder folder;
    const std::string path = folder.Path("log.csv");
    std::string error;
    int calls = 0;
    // Three bytes a call; from call `failAt` on nothing goes out: first 0
    // (with errno left at EIO), then -1 with EIO.
    int failAt = 1000;
    auto file = LogFile::OpenForAppend(path, error, [&](int fd, const char* data, std::size_t size) -> long {
        if (++calls >= failAt) {
            errno = EIO;
            return calls == failAt ? 0 : -1;
        }
        return static_cast<long>(::write(fd, data, std::min<std::size_t>(size, 3)));
    });
    ASSERT_NE(file, nullptr) << error;
    // The first line fails part way: the file is empty again.
    failAt = 3;
    EXPECT_FALSE(file->WriteLine("12:00:00,1.5", error));
    EXPECT_EQ(error, std::strerror(ENOSPC)) << "a write that takes nothing means a full disk";
    EXPECT_EQ(ReadText(path), "");
    calls = 0;
    failAt = 1000;
    ASSERT_TRUE(file->WriteLine("12:00:01,2.5", error));
    calls = 0;
    failAt = 2;
    EXPECT_FALSE(file->WriteLine("12:00:02,3.5", error));
    EXPECT_EQ(ReadText(path), "12:00:01,2.5\r\n");
}

TEST(DataLogText, SpansTimesAndFileStemsAreWrittenAsTheFileFormatHasThem)
{
    // Dates, stamps and paths are read in the log files below.
    EXPECT_EQ(data_log_text::FormatSpanLine(20.0f, 250.0f), "Frequency Span:   20.0 Hz to  250.0 Hz");
    EXPECT_EQ(data_log_text::FormatTimeOfDay(66614.99f), "18:30:14");
    // A time past a day counts on in hours; nothing before 0 or no number reads midnight.
    for (const auto& [seconds, text] : {std::pair{0.0f, "00:00:00"}, std::pair{59.9f, "00:00:59"},
                                        std::pair{3600.0f, "01:00:00"}, std::pair{359999.0f, "99:59:59"},
                                        std::pair{360061.0f, "100:01:01"}, std::pair{-5.0f, "00:00:00"},
                                        std::pair{std::nanf(""), "00:00:00"}})
        EXPECT_EQ(data_log_text::FormatTimeOfDay(seconds), text) << seconds;
    EXPECT_EQ(data_log_text::FilePath("/logs", "Mic", "2023_11_14_221320"), "/logs/Mic_2023_11_14_221320.csv");
    EXPECT_EQ(data_log_text::FilePath("/logs/", "Mic", "1"), "/logs/Mic_1.csv");
    EXPECT_EQ(data_log_text::FilePath("", "Mic", "1"), "Mic_1.csv");
    using Stems = std::pair<std::string, std::string>;
    EXPECT_EQ(data_log_text::FileStems("A/B", "A*B"), Stems("AvB", "AxB"));
    EXPECT_EQ(data_log_text::FileStems("../up", "x"), Stems("..vup", "x"));
    EXPECT_EQ(data_log_text::FileStems("", ""), Stems("_L", "_R"));
}

TEST(DataLogText, ListValuesReadAsTheCLibrarysGeneralFormatDoes)
{
    // The C library's "%g" under the "C" locale is the reference.
    const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    const locale_t previous = uselocale(c);
    std::vector<float> values = {0.0f,      -0.0f,     1.0f,       -999.9f,    -999.0f,   1234565.0f, 1234575.0f,
                                 999999.5f, 999999.4f, 0.0001f,    0.00009999f, 1e-5f,    123456.5f,  100000.0f,
                                 9.999995f, 1e30f,     -3.4e38f,   1.17549435e-38f, 1e-45f, 0.5f,      984.375f};
    for (std::uint32_t i = 0, bits = 7; i < 20000; ++i) {
        bits = bits * 1664525u + 1013904223u;
        float v = 0.0f;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v))
            values.push_back(v);
    }
    for (float v : values) {
        std::string text;
        char reference[64];
        data_log_text::AppendGeneral(text, v);
        std::snprintf(reference, sizeof reference, "%g", double(v));
        ASSERT_EQ(text, reference) << "bits of " << v;
    }
    // Doubles reach exponents and digit counts no float has.
    for (double v : {1e100, -2.5e-200, 1.7976931348623157e308, 4.9e-324, 1e-310, 123456789.0, 1e22, 0.1,
                     999999.4999999, 9.9999949999e-5, 1.0000005e-5, -6.02214076e23}) {
        std::string text;
        char reference[64];
        data_log_text::AppendGeneral(text, v);
        std::snprintf(reference, sizeof reference, "%g", v);
        EXPECT_EQ(text, reference) << v;
    }
    uselocale(previous);
    freelocale(c);
}

// The frame's end-to-end test reads its log with Python's csv module; here
// the times and the number format.
// One line in the span: nothing over it. Full range (2) has a value; a name
// (11) never; a span list (29) neither name nor value.
TEST_F(DataLogTest, AFileHasTheHeaderOneRecordPerIntervalAndTheStopLineAndAMissingValueLeavesItsFieldEmpty)
{
    opts.StartFreq = opts.StopFreq = 1000.0f;
    Select({0, 2, 11, 25, 29});
    ASSERT_TRUE(run.StartInput());
    ASSERT_EQ(Files(), std::vector<std::string>{"Mic_2023_11_14_221320.csv"});
    h.Ticks(35, 0.1, &run);  // 3.5 s of results every 0.1 s
    run.StopInput();
    const std::vector<std::string> lines = FileLines();
    ASSERT_EQ(lines.size(), 3u + 3u + 1u) << "records at 2, 3 and 4 s after the first result";
    EXPECT_EQ(lines[0], "Logging Start Time: November 14 2023 22:13:21");
    EXPECT_EQ(lines[2], "Time,Peak Freq,Total Power Flat,LeqT\tLeq\tLsel\tLpk\tLmax\tLmin\tL10\tL50\tL90,"
                        "RMS Total Power Flat");
    EXPECT_EQ(lines[3].substr(0, 9), "12:00:01,");
    EXPECT_EQ(lines[6], "Logging Stop Time: November 14 2023 22:13:23");
    for (int i = 3; i < 6; ++i) {
        const std::vector<std::string> fields = Split(lines[i], ',');
        EXPECT_THAT(fields, ElementsAre(_, "", Not(IsEmpty()), "", ""));
        EXPECT_EQ(fields[2].find('.') + 7, fields[2].size()) << "\"%f\": six decimals, a point";
    }
    EXPECT_TRUE(reports.empty());
}

// Plots that redraw every 3 s do not thin the log: over 10 s of steps every
// 25 ms, a 1 s interval writes a record each second, from one second after
// the first result (12:00:00.025) on.
TEST_F(DataLogTest, PlotsThatRedrawEveryThreeSecondsLeaveARecordEverySecond)
{
    for (int c = 0; c < 2; ++c) {
        h.settings.Spectrum[c].IntervalFlag = 1;
        h.settings.Spectrum[c].IntervalSecs = 3.0f;
    }
    Select({0, 1});
    opts.IntervalSecs = 1.0f;
    ASSERT_TRUE(run.StartInput());
    h.Ticks(400, 0.025, &run);
    run.StopInput();
    const std::vector<std::string> lines = FileLines();
    ASSERT_EQ(lines.size(), 3u + 9u + 1u);
    EXPECT_EQ(lines[2], "Time,Peak Freq,Peak Level");
    for (int i = 0; i < 9; ++i) {
        const std::vector<std::string> fields = Split(lines[3 + i], ',');
        ASSERT_EQ(fields.size(), 3u) << lines[3 + i];
        EXPECT_EQ(fields[0], "12:00:0" + std::to_string(i + 1));
        EXPECT_NEAR(std::stod(fields[1]), 1000.0, 12.0) << "the left channel's tone";
    }
}

// A 100 Hz tone, the span around it, marker 1 on it and the others far
// from it: each measurement reads its own weighting, range and marker.
// Weightings at 100 Hz from the standard's table: A -19.1, B -5.6, C -0.3 dB.
TEST_F(DataLogTest, EachMeasurementReadsItsOwnWeightingRangeMarkerAndFormatAndTheThresholdIsStrict)
{
    h.audio.input.left.frequency = 100.0;
    opts.StartFreq = 50.0f;
    opts.StopFreq = 200.0f;
    float* markers = h.settings.Markers[0].MarkerFreq;
    for (int k = 0; k < 8; ++k)
        markers[k] = k == 0 ? 100.0f : 3000.0f + 1000.0f * k;
    ASSERT_TRUE(run.StartInput());
    h.Ticks(10, 0.1, &run);
    auto value = [this](int id) {
        float v = -1.0e9f;
        EXPECT_TRUE(log.GetLogValueText(0, id, v, nullptr)) << id;
        return v;
    };
    const float spacing = h.processing.GetLoggingData(0)->GetLineSpacing();
    for (int id : {0, 23, 35, 49})
        EXPECT_NEAR(value(id), 100.0f, spacing) << "peak frequency, id " << id;
    const float peak = value(50);
    EXPECT_FLOAT_EQ(value(24), peak) << "the span holds the peak";
    const float weighting[4] = {0.0f, -19.1f, -5.6f, -0.3f};
    for (int first : {2, 25, 37, 51}) {
        for (int w = 1; w < 4; ++w)
            EXPECT_NEAR(value(first + w) - value(first), weighting[w], 0.5f) << "id " << first + w;
    }
    for (int first : {15, 41}) {
        EXPECT_NEAR(value(first), peak, 1.0f) << "marker 1 on the tone, id " << first;
        for (int k = 1; k < 8; ++k)
            EXPECT_LT(value(first + k), peak - 40.0f) << "marker away from the tone, id " << first + k;
    }
    // SNR (9) and SINAD (10) are tied by SINAD = 10·log10(1 + S/N), THD+N
    // (7, percent) and SINAD by SINAD = 10·log10(1 + (100 / THD+N)²). A
    // 16-bit sine's THD (6) is a small percentage, far from a level in dB.
    EXPECT_NEAR(value(10), 10.0 * std::log10(1.0 + std::pow(10.0, value(9) / 10.0)), 0.01);
    EXPECT_NEAR(value(10), 10.0 * std::log10(1.0 + std::pow(100.0 / value(7), 2.0)), 0.01);
    EXPECT_GT(value(6), 0.0f);
    EXPECT_LT(value(6), 1.0f);

    // The threshold is strictly greater; lists and measurements without a value never pass it.
    EXPECT_TRUE(log.IsThresholdExceeded(0, 1, value(1) - 0.01f));
    EXPECT_FALSE(log.IsThresholdExceeded(0, 1, value(1))) << "equal is not above";
    EXPECT_FALSE(log.IsThresholdExceeded(0, 12, 0.0f)) << "a list measurement has no single value";
    EXPECT_FALSE(log.IsThresholdExceeded(0, 11, -1.0e9f)) << "a measurement without value";
    // Marker levels, live and held, the full range's held and live peak levels read as "%g"; the others as "%f".
    for (const auto& [id, format] : {std::pair{15, "%g"}, std::pair{41, "%g"}, std::pair{36, "%g"},
                                     std::pair{50, "%g"}, std::pair{25, "%f"}, std::pair{1, "%f"},
                                     std::pair{24, "%f"}, std::pair{49, "%f"}}) {
        std::string text;
        float v = 0.0f;
        ASSERT_TRUE(log.GetLogValueText(0, id, v, &text)) << id;
        char want[64];
        std::snprintf(want, sizeof want, format, v);
        EXPECT_EQ(text, want) << id;
    }
    // Intervals at or below the level write nothing.
    opts.bApplyThreshold = 1;
    opts.ThresholdType = 1;
    opts.ThresholdLevel = 1.0e9f;
    const std::size_t before = FileLines().size();
    h.Ticks(30, 0.1, &run);
    EXPECT_EQ(FileLines().size(), before);
}

// Lists put every line in one field separated by tabs, complex ones a real
// and an imaginary part per line. Before any block levels read -999.9 dB,
// held levels too, the averaged complex lines are zero. Lines 84 … 86.
// Records fall due in whole intervals from the first result.
TEST_F(DataLogTest, ListRecordsMadeOnTheWriterThreadReadAsTheSpectrumHasThemAndFallDueInWholeIntervals)
{
    Select({15, 29, 30, 31, 34});
    opts.StartFreq = 984.375f;
    opts.StopFreq = 1007.8125f;
    ASSERT_TRUE(run.StartInput());
    // Results every 0.68 s from t = 100.0.
    std::vector<long> recorded;
    for (float t : {100.0f, 100.68f, 101.36f, 102.04f, 102.72f, 103.40f, 104.08f, 104.76f, 105.44f}) {
        const std::size_t before = FileLines().size();
        log.WriteLogRecord(0, t);
        if (FileLines().size() > before)
            recorded.push_back(std::lround(t * 100.0f));
    }
    EXPECT_EQ(recorded, (std::vector<long>{10136, 10204, 10340, 10408, 10544}));
    EXPECT_FLOAT_EQ(opts.NextDueTime, 106.0f);
    const std::vector<std::string> lines = FileLines();
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[2], "Time,Marker 1 Level,984.375\t996.094\t1007.81,984.375\t996.094\t1007.81,"
                        "984.375\t996.094\t1007.81,984.375\t\t996.094\t\t1007.81");
    EXPECT_EQ(lines[3], "00:01:41,-999.9,-999.9\t-999.9\t-999.9,-999.9\t-999.9\t-999.9,0\t0\t0,0\t0\t0\t0\t0\t0");
}

// A stall of ten seconds (the program held up) leaves no burst of records
// behind it: the first step after it records once, and the pace starts again
// from that record, so no two records stand less than an interval apart.
TEST_F(DataLogTest, AfterAStallOneRecordIsDueNotOneForEachMissedInterval)
{
    Select({0});
    ASSERT_TRUE(run.StartInput());
    // The times (in hundredths) of the steps that wrote a record.
    const auto recorded = [this](std::initializer_list<float> steps) {
        std::vector<long> times;
        for (float t : steps) {
            const std::size_t before = FileLines().size();
            log.WriteLogRecord(0, t);
            if (FileLines().size() > before)
                times.push_back(std::lround(t * 100.0f));
        }
        return times;
    };
    EXPECT_EQ(recorded({100.0f, 100.5f, 101.0f, 111.25f, 111.5f, 111.75f, 112.0f, 112.25f, 112.5f, 113.25f}),
              (std::vector<long>{10100, 11125, 11225, 11325}));
    EXPECT_FLOAT_EQ(opts.NextDueTime, 114.25f);
    // A stall that ends exactly on the due time after the missed one: the
    // pace starts from that record too, not half a second before the next.
    EXPECT_EQ(recorded({115.25f, 115.75f, 116.25f}), (std::vector<long>{11525, 11625}));
}

// Each step tells the latest time a record fell due at since the step
// before, so a lost stretch of input can be matched against the records: a
// step after a stall names the last due time the stall passed, not the first.
TEST_F(DataLogTest, EachStepTellsTheLatestDueTimeItPassed)
{
    Select({0});
    ASSERT_TRUE(run.StartInput());
    const struct {
        float step;
        std::optional<float> due;
    } steps[] = {
        {100.0f, std::nullopt},  // the first due time is set: 101
        {100.5f, std::nullopt}, {101.0f, 101.0f},
        {111.25f, 111.0f},  // a stall passed 102 … 111; the pace restarts: 112.25
        {111.5f, std::nullopt}, {112.25f, 112.25f}, {113.0f, std::nullopt},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        EXPECT_EQ(log.WriteLogRecord(0, s.step), s.due);
    }
    // A record its threshold holds back still fell due.
    opts.bApplyThreshold = 1;
    opts.ThresholdType = 1;
    opts.ThresholdLevel = 1.0e9f;
    EXPECT_EQ(log.WriteLogRecord(0, 113.5f), std::optional<float>(113.25f));
    // The next due time, which no step has taken yet.
    EXPECT_EQ(log.GetRecordSchedule(0).value().NextDue, 114.25);
    // A channel that does not log has no due times.
    EXPECT_EQ(log.WriteLogRecord(1, 120.0f), std::nullopt);
    EXPECT_FALSE(log.GetRecordSchedule(1));
}

TEST_F(DataLogTest, StopWritesEveryQueuedRecordBeforeTheStopLineAndABackedUpQueueKeepsThemAll)
{
    // The writer stalls on its first line while ten records fall due: every
    // one waits for it, none is left out.
    std::atomic<bool> go{false};
    log.SetWriteCall([&go](int fd, const char* data, std::size_t size) -> long {
        while (!go)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return static_cast<long>(::write(fd, data, size));
    });
    ASSERT_TRUE(run.StartInput());
    for (int i = 0; i <= 10; ++i)
        log.WriteLogRecord(0, 100.0f + float(i));
    go = true;
    run.StopInput();
    EXPECT_THAT(reports, IsEmpty());
    const std::vector<std::string> lines = FileLines();
    ASSERT_EQ(lines.size(), 3u + 10u + 1u);
    EXPECT_EQ(lines[3].substr(0, 9), "00:01:41,");
    EXPECT_EQ(lines[12].substr(0, 9), "00:01:50,");
    EXPECT_EQ(lines[13].rfind("Logging Stop Time: ", 0), 0u) << lines[13];
}

namespace {

// Every measurement id, at the shortest interval the sheet and the settings
// file allow.
void SelectEverything(LoggingOpts& opts)
{
    std::fill(std::begin(opts.DataItem), std::end(opts.DataItem), std::uint8_t{1});
    opts.IntervalSecs = 1.0f;
}

// "HH:MM:SS" of a whole second of the day.
std::string Clock(int seconds)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

} // namespace

TEST_F(DataLogTest, EveryIdAtTheShortestIntervalKeepsEveryRecordWhileTheWriterIsBehind)
{
    SelectEverything(opts);
    std::atomic<bool> go{false};
    log.SetWriteCall([&go](int fd, const char* data, std::size_t size) -> long {
        while (!go)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return static_cast<long>(::write(fd, data, size));
    });
    ASSERT_TRUE(run.StartInput());
    // Forty records: ten times what a writer kept waiting once held.
    for (int i = 0; i <= 40; ++i)
        log.WriteLogRecord(0, 100.0f + float(i));
    EXPECT_THAT(reports, IsEmpty()) << "nothing was left out";
    go = true;
    run.StopInput();
    EXPECT_THAT(reports, IsEmpty());
    const std::vector<std::string> lines = FileLines();
    ASSERT_EQ(lines.size(), 3u + 40u + 1u);
    const std::size_t columns = Split(lines[2], ',').size();
    EXPECT_GT(columns, 40u);
    for (int i = 1; i <= 40; ++i) {
        const std::string& record = lines[2 + std::size_t(i)];
        EXPECT_EQ(record.substr(0, 9), Clock(100 + i) + ",");
        EXPECT_EQ(Split(record, ',').size(), columns) << "record " << i << " is whole";
    }
}

TEST_F(DataLogTest, ARecordLeftOutOfAStalledWriterIsReportedAtOnceAndTheRunOfThemWhenWritingCatchesUp)
{
    SelectEverything(opts);
    std::atomic<bool> go{false};
    log.SetWriteCall([&go](int fd, const char* data, std::size_t size) -> long {
        while (!go)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return static_cast<long>(::write(fd, data, size));
    });
    ASSERT_TRUE(run.StartInput());
    log.WriteLogRecord(0, 100.0f);
    // Records fall due until one cannot wait any longer: that one is
    // reported by the call that left it out.
    int first = 0;
    for (int t = 101; t < 400 && first == 0; ++t) {
        log.WriteLogRecord(0, float(t));
        if (!reports.empty())
            first = t;
    }
    ASSERT_NE(first, 0) << "a stalled writer cannot take records without end";
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_THAT(reports[0], AllOf(HasSubstr(folder + "/Mic_"), HasSubstr("the record of " + Clock(first))));
    // Three more while it stays stalled: left out without a box each.
    for (int t = first + 1; t <= first + 3; ++t)
        log.WriteLogRecord(0, float(t));
    EXPECT_EQ(reports.size(), 1u);
    go = true;
    log.Flush();
    // The next record goes in, and the run left out is named.
    log.WriteLogRecord(0, float(first + 4));
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_THAT(reports[1],
                AllOf(HasSubstr("4 records, from " + Clock(first) + " to " + Clock(first + 3)), HasSubstr("/Mic_")));

    // Stalled again until a record is left out (reported at once); returns its time.
    auto stallUntilLeftOut = [&](int from) {
        go = false;
        const std::size_t before = reports.size();
        for (int t = from; t < from + 400; ++t) {
            log.WriteLogRecord(0, float(t));
            if (reports.size() > before)
                return t;
        }
        return 0;
    };
    // A run of two is named too; a single record left out was named alone.
    const int second = stallUntilLeftOut(first + 5);
    ASSERT_NE(second, 0);
    log.WriteLogRecord(0, float(second + 1));
    go = true;
    log.Flush();
    log.WriteLogRecord(0, float(second + 2));
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_THAT(reports[3], HasSubstr("2 records, from " + Clock(second) + " to " + Clock(second + 1)));
    const int third = stallUntilLeftOut(second + 3);
    ASSERT_NE(third, 0);
    go = true;
    log.Flush();
    log.WriteLogRecord(0, float(third + 1));
    run.StopInput();
    EXPECT_EQ(reports.size(), 5u) << reports.back();

    // The file has every record but those reported.
    std::vector<std::string> times;
    for (const std::string& line : FileLines())
        if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0])))
            times.push_back(line.substr(0, 8));
    std::vector<std::string> expected;
    for (int t = 101; t <= third + 1; ++t)
        if ((t < first || t > first + 3) && t != second && t != second + 1 && t != third)
            expected.push_back(Clock(t));
    EXPECT_EQ(times, expected);
}

TEST_F(DataLogTest, ALogFileThatNeverGotItsHeaderIsRemovedUnlessItWasThereBefore)
{
    // The disk is full from the first byte on.
    log.SetWriteCall([](int, const char*, std::size_t) -> long {
        errno = ENOSPC;
        return -1;
    });
    // The file that was there first, while the clock still reads the time its name carries.
    const std::string name = "Mic_2023_11_14_221320.csv";
    for (const bool existed : {true, false}) {
        SCOPED_TRACE(existed);
        fs::remove_all(folder);
        fs::create_directories(folder);
        if (existed)
            std::ofstream(folder + "/" + name).flush();
        reports.clear();
        ASSERT_TRUE(run.StartInput());
        EXPECT_EQ(h.Ticks(30, 0.1, &run), 30);
        run.StopInput();
        EXPECT_THAT(reports, ElementsAre(AllOf(HasSubstr(folder + "/Mic_"), HasSubstr(std::strerror(ENOSPC)))));
        EXPECT_EQ(Files(), existed ? std::vector<std::string>{name} : std::vector<std::string>{});
    }
}

TEST_F(DataLogTest, ChannelModesDecideWhichLogChannelsGetAFile)
{
    h.settings.DataLog.Channel[1].Enable = 1;
    SetTextField(h.settings.DataLog.Channel[1].LogFileName, "MIC");
    for (const auto& [mode, files] : {std::pair<int, std::vector<std::string>>{3, {}}, {12, {}}, {1, {"Mic_L"}},
                                      {2, {"MIC_R", "Mic_L"}}}) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        h.settings.Processing.ChannelProcessing = std::uint16_t(mode);
        ASSERT_TRUE(run.StartInput());
        std::vector<std::string> stems = Files();
        for (std::string& name : stems)
            name.resize(name.size() - 22);  // "_2023_11_14_221320.csv"
        EXPECT_EQ(stems, files) << "mode " << mode;
        // The open files' paths, by log channel: the left stem is channel 0's.
        EXPECT_EQ(log.OpenFilePath(0), files.empty() ? "" : folder + "/" + Files().back()) << "mode " << mode;
        EXPECT_EQ(log.OpenFilePath(1), files.size() < 2 ? "" : folder + "/" + Files().front()) << "mode " << mode;
        EXPECT_EQ(log.OpenFilePath(2), "");
        EXPECT_EQ(log.OpenFilePath(-1), "");
        EXPECT_EQ(log.IsWriting(), !files.empty()) << "mode " << mode;
        if (mode == 1) {
            h.Ticks(25, 0.1, &run);
            const double spacing = h.processing.GetLoggingData(1)->GetLineSpacing();
            EXPECT_NEAR(std::stod(Split(FileLines()[3], ',')[1]), 5000.0, spacing) << "channel 0 hears the right input";
        }
        run.StopInput();
        EXPECT_FALSE(log.IsWriting()) << "mode " << mode;
        EXPECT_EQ(log.OpenFilePath(0) + log.OpenFilePath(1), "") << "mode " << mode;
    }
}

// The log runs when an enabled channel is one the input format has; a
// start that runs it always writes the layout the log files have (named by
// date, never over an old file, with header and time stamps, every
// interval from fresh averages and holds), whatever the settings held.
TEST_F(DataLogTest, OnlyAnEnabledChannelTheFormatHasStartsTheLogAndAStartFixesTheFileLayout)
{
    DataLogSettings& settings = h.settings.DataLog;
    const struct {
        std::uint16_t channels;
        std::uint8_t left, right;
        std::uint8_t active;
    } cases[] = {{2, 0, 1, 1}, {1, 0, 1, 0}, {2, 0, 0, 0}, {1, 1, 0, 1}, {2, 1, 1, 1}};
    for (const auto& c : cases) {
        h.settings.Processing.Format.Set(48000, c.channels, 2);
        settings.Channel[0].Enable = c.left;
        settings.Channel[1].Enable = c.right;
        settings.FilenameFormat = 0;
        settings.OverwriteFlag = 1;
        settings.IncludeHeaderFlag = 0;
        settings.IncludeTimeStampFlag = 0;
        for (LoggingOpts& channel : settings.Channel)
            channel.IntervalFlag = channel.bResetAverage = channel.bResetPeakHold = 0;
        log.StartDataLogging();
        const std::string name = std::to_string(c.channels) + " channels, " + std::to_string(c.left) + "/"
                               + std::to_string(c.right);
        EXPECT_EQ(settings.Active, c.active) << name;
        const std::vector<unsigned> fixed = {settings.FilenameFormat, settings.OverwriteFlag,
                                             settings.IncludeHeaderFlag, settings.IncludeTimeStampFlag,
                                             settings.Channel[1].IntervalFlag, settings.Channel[1].bResetAverage,
                                             settings.Channel[1].bResetPeakHold};
        const std::vector<unsigned> running = {1, 0, 1, 1, 1, 1, 1};
        const std::vector<unsigned> untouched = {0, 1, 0, 0, 0, 0, 0};
        EXPECT_EQ(fixed, c.active ? running : untouched) << name;
        log.StopDataLogging();
    }
}

TEST_F(DataLogTest, MidnightClosesTheDaysFileWithItsStopLineAndOpensTheNext)
{
    h.clock.wallStart = std::chrono::system_clock::from_time_t(1'700'006'399);  // 23:59:59
    h.clock.dayStartSeconds = 86399.0;
    ASSERT_TRUE(run.StartInput());
    h.Ticks(30, 0.1, &run);
    log.Flush();
    const std::vector<std::string> files = Files();
    ASSERT_EQ(files, (std::vector<std::string>{"Mic_2023_11_14_235959.csv", "Mic_2023_11_15_000000.csv"}));
    EXPECT_EQ(Lines(folder + "/" + files[0]).back(), "Logging Stop Time: November 15 2023 00:00:00");
    EXPECT_EQ(h.clock.sleeps, std::vector<std::uint32_t>{100}) << "once, not on every block";
}

TEST_F(DataLogTest, ADeclinedOrUnmadeFolderOrFileOpensNothingIsReportedOnceWithItsPathAndTheRunGoesOn)
{
    // A file where the folder should be; a folder where the log file should be.
    const std::string blocker = root.Path("file");
    std::ofstream(blocker) << "x";
    const std::string taken = folder + "/Mic_2023_11_14_221320.csv";
    fs::create_directories(taken);
    const std::string declined = root.Path("Declined");
    // The taken name first, while the clock still reads the time it carries;
    // an empty name: declined, nothing to report.
    for (const auto& [logFolder, reply, named] :
         {std::tuple{folder, platform::MessageResult::Yes, taken}, {declined, platform::MessageResult::No, ""},
          {blocker + "/Log", platform::MessageResult::Yes, blocker + "/Log"}}) {
        SCOPED_TRACE(logFolder);
        reports.clear();
        questions.texts.clear();
        questions.answer = reply;
        h.settings.m_DataPathsInUse.Set(DataPaths::kLog, logFolder);
        ASSERT_TRUE(run.StartInput());
        EXPECT_EQ(h.Ticks(30, 0.1, &run), 30);
        EXPECT_TRUE(run.IsRunning());
        EXPECT_TRUE(h.settings.DataLog.Active);
        EXPECT_FALSE(log.IsWriting());
        EXPECT_FALSE(fs::exists(declined));
        if (named.empty())
            EXPECT_EQ(questions.texts.size(), 1u);
        else
            EXPECT_THAT(reports, ElementsAre(HasSubstr(named)));
        run.StopInput();
        EXPECT_EQ(reports.size(), named.empty() ? 0u : 1u) << "nothing more at stop";
    }
    EXPECT_TRUE(h.clock.sleeps.empty()) << "no new-day reopening while no file is open";
}

TEST_F(DataLogTest, AFailedWriteIsReportedOnceAndLeavesNoPartialLine)
{
    // The disk fills during the fifth line: half of it gets out, then no space.
    int calls = 0;
    log.SetWriteCall([&calls](int fd, const char* data, std::size_t size) -> long {
        if (++calls <= 5)
            return static_cast<long>(::write(fd, data, calls < 5 ? size : size / 2));
        errno = ENOSPC;
        return -1;
    });
    // Written on the writer thread; reported on this one.
    const std::thread::id caller = std::this_thread::get_id();
    log.SetReport([this, caller](const std::string& text) {
        EXPECT_EQ(std::this_thread::get_id(), caller);
        reports.push_back(text);
    });
    ASSERT_TRUE(run.StartInput());
    EXPECT_EQ(h.Ticks(50, 0.1, &run), 50);
    run.StopInput();
    EXPECT_THAT(reports, ElementsAre(AllOf(HasSubstr("Mic_2023_11_14_221320.csv"), HasSubstr(std::strerror(ENOSPC)))));
    const std::vector<std::string> lines = FileLines();
    ASSERT_EQ(lines.size(), 4u) << "header and one record; the half line is gone";
    EXPECT_EQ(lines[3].rfind("PARTIAL:", 0), std::string::npos);
}

TEST(DataLogSheetRules, OkRefusesWhatTheLogCannotUseAndNamesTheField)
{
    using namespace data_log_sheet;
    using Refused = data_log_sheet::Field;  // kNone: accepted
    PageInput good{true, "Mic", {}, "1", "900", "95000", false, "40", 1};
    good.rowChecked[2] = true;
    const std::tuple<std::string PageInput::*, const char*, Refused> cases[] = {
        {&PageInput::interval, "1", Refused::kNone}, {&PageInput::interval, "3600", Refused::kNone},
        {&PageInput::interval, "0.5", Refused::kInterval}, {&PageInput::interval, "nan", Refused::kInterval},
        {&PageInput::fileName, "", Refused::kFileName}, {&PageInput::start, "95000", Refused::kStop},
        {&PageInput::start, "0", Refused::kStart}, {&PageInput::stop, "inf", Refused::kStop},
        {&PageInput::start, "nan", Refused::kStart}, {&PageInput::start, "-inf", Refused::kStart},
        {&PageInput::level, "-inf", Refused::kLevel}};
    // Checked whether or not the channel is enabled.
    for (const bool enable : {true, false}) {
        for (const auto& [entry, text, refused] : cases) {
            SCOPED_TRACE(testing::Message() << enable << " " << text);
            PageInput in = good;
            in.enable = enable;
            in.*entry = text;
            LoggingOpts opts;
            const Verdict verdict = Validate(in, opts);
            EXPECT_EQ(verdict.field, refused);
            EXPECT_EQ(verdict.ok, refused == Refused::kNone);
            EXPECT_EQ(verdict.message.empty(), verdict.ok);
            if (verdict.ok) {
                EXPECT_EQ((std::vector<int>{opts.DataItem[0], opts.DataItem[25], int(opts.ThresholdType)}),
                          (std::vector<int>{0, 1, 25}));
            }
        }
    }
    // Nothing selected is refused only while enabled.
    LoggingOpts opts;
    good.rowChecked[2] = false;
    EXPECT_EQ(Validate(good, opts).field, Refused::kList);
    good.enable = false;
    EXPECT_TRUE(Validate(good, opts).ok);
    EXPECT_EQ(opts.DataItem[25], 0);
    // An id the box does not offer shows Peak Level.
    EXPECT_EQ(std::pair(ThresholdEntryFor(50), ThresholdEntryFor(28)), std::pair(0, 4));
    EXPECT_EQ(FormatField(1.0f, 2) + FormatField(0.025f, 4), "  1.000.0250");
}

// The viewer opens the newest file the channel's stem wrote: a name of
// the stem, "_", at least one character and ".csv".
TEST(DataLogSheetRules, TheLatestLogIsTheNewestCsvFileOfTheStem)
{
    TempFolder folder;
    const auto now = fs::file_time_type::clock::now();
    const std::pair<const char*, int> files[] = {
        {"Mic_.csv", 0},      {"Mic_1.txt", 0},         {"Other_9.csv", 0}, {"MicX_9.csv", 0},
        {"Mic_1.csv", 10},    {"Mic_2023_11.csv", 20},
    };
    for (const auto& [name, ageSeconds] : files) {
        WriteText(folder.Path(name), "x");
        fs::last_write_time(folder.Path(name), now - std::chrono::seconds(ageSeconds));
    }
    fs::create_directories(folder.Path("Mic_dir.csv"));
    EXPECT_EQ(data_log_sheet::LatestLogFile(folder.Root(), "Mic"), folder.Path("Mic_1.csv"));
    EXPECT_EQ(data_log_sheet::LatestLogFile(folder.Root(), "None"), "");
    // A stem with a slash looks for its cleaned name.
    WriteText(folder.Path("AvB_1.csv"), "x");
    EXPECT_EQ(data_log_sheet::LatestLogFile(folder.Root(), "A/B"), folder.Path("AvB_1.csv"));
}

TEST(DataLogSheetRules, TheViewerIsTheDesktopsUnlessAnInstalledProgramIsNamed)
{
    using data_log_sheet::ViewerChoice;
    auto choose = [](const std::string& name) {
        return data_log_sheet::ChooseLogViewer(
            name, [](const std::string& n) { return std::string(n == "gedit" ? "/usr/bin/gedit" : ""); });
    };
    EXPECT_EQ(std::vector({choose("").kind, choose("notepad.EXE").kind, choose("gedit").kind, choose("kate").kind}),
              std::vector({ViewerChoice::kDesktopDefault, ViewerChoice::kDesktopDefault, ViewerChoice::kProgram,
                           ViewerChoice::kMissing}));
    EXPECT_EQ(choose("gedit").program, "/usr/bin/gedit");
    EXPECT_THAT(choose("kate").message, HasSubstr("\"kate\" was not found"));
}

// The tone at 1 kHz lies outside the span (50 … 200 Hz): what is taken over
// the span reads the quiet lines there, what is taken over the full range the
// tone. Then the tone drops by 40 dB for the last blocks: the forever average
// and the hold keep the loud tone, the latest block (the "in Peak Hold
// Spectrum" band powers and marker levels) hears the quiet one.
TEST_F(DataLogTest, SpanAndFullRangeMeasurementsAndAveragedAndLatestOnesEachReadTheirOwn)
{
    opts.StartFreq = 50.0f;
    opts.StopFreq = 200.0f;
    float* markers = h.settings.Markers[0].MarkerFreq;
    std::fill(markers, markers + 8, 1000.0f);
    ASSERT_TRUE(run.StartInput());
    h.Ticks(6, 0.1, &run);
    auto value = [this](int id) {
        float v = -1.0e9f;
        EXPECT_TRUE(log.GetLogValueText(0, id, v, nullptr)) << id;
        return v;
    };
    const float spacing = h.processing.GetLoggingData(0)->GetLineSpacing();
    // Frequencies: the held span's highest line lies inside it; the span's
    // peak search finds no tone (a span without a peak reads line 0); the
    // full range finds the tone.
    EXPECT_GE(value(0), 50.0f - spacing);
    EXPECT_LE(value(0), 200.0f + spacing);
    EXPECT_LE(value(23), 200.0f + spacing);
    for (int id : {35, 49})
        EXPECT_NEAR(value(id), 1000.0f, spacing) << "full-range peak frequency, id " << id;
    // Levels and band powers: span far below the full range, pair by pair.
    const std::pair<int, int> spanAndFull[] = {{1, 36}, {24, 50}, {25, 2}, {26, 3}, {27, 4}, {28, 5},
                                               {51, 37}, {52, 38}, {53, 39}, {54, 40}};
    for (const auto& [span, full] : spanAndFull)
        EXPECT_LT(value(span), value(full) - 40.0f) << "ids " << span << " and " << full;

    // The tone drops by 40 dB for the last blocks.
    opts.StartFreq = 500.0f;
    opts.StopFreq = 2000.0f;
    h.Input().behaviour.left.fraction = 0.005;
    h.Ticks(2, 0.1, &run);
    const std::pair<int, int> averagedAndLatest[] = {{2, 37}, {5, 40}, {25, 51}, {28, 54}, {15, 41}, {22, 48}};
    for (const auto& [averaged, latest] : averagedAndLatest)
        EXPECT_GT(value(averaged), value(latest) + 20.0f) << "ids " << averaged << " and " << latest;
    // The hold keeps the loud tone: above the latest block's marker level.
    EXPECT_GT(value(36), value(41) + 30.0f);
    EXPECT_GT(value(1), value(41) + 30.0f) << "span hold";
    // The span's line lists: the averaged one peaks at the averaged peak, the held one at the held peak.
    auto highestListed = [this](int id) {
        std::string text;
        float unused = 0.0f;
        EXPECT_TRUE(log.GetLogValueText(0, id, unused, &text)) << id;
        float highest = -1.0e9f;
        for (const std::string& field : Split(text, '\t'))
            highest = std::max(highest, std::stof(field));
        return highest;
    };
    EXPECT_NEAR(highestListed(29), value(24), 0.01f);
    EXPECT_NEAR(highestListed(30), value(1), 0.01f);
    EXPECT_NEAR(highestListed(12), value(50), 0.01f) << "the full range's list";

    // Ids outside 0 … 54 and a channel without a spectrum have no column.
    data_log_measurements::Source source{h.processing.GetLoggingData(0), 500.0f, 2000.0f, markers};
    for (int id : {-1, data_log_measurements::kCount, 11, 29}) {
        std::string name = "kept";
        const bool has = data_log_measurements::HasColumn(source, id);
        EXPECT_EQ(data_log_measurements::AppendColumnName(source, id, name), has) << id;
        EXPECT_EQ(has, id == 11 || id == 29) << id;
        if (!has) {
            EXPECT_EQ(name, "kept") << id;
        }
    }
    source.data = nullptr;
    std::string name;
    float v = 0.0f;
    EXPECT_FALSE(data_log_measurements::HasColumn(source, 0));
    EXPECT_FALSE(data_log_measurements::AppendColumnName(source, 0, name));
    EXPECT_FALSE(data_log_measurements::GetValue(source, 0, v, &name));
    EXPECT_EQ(name, "");
}

// A span of one line: every measurement over the span has no value, those
// over the full range, the markers and the distortion figures have one; 11
// and 32 never have one.
TEST_F(DataLogTest, ASpanOfOneLineLeavesEveryMeasurementOverTheSpanWithoutValue)
{
    opts.StartFreq = opts.StopFreq = 1000.0f;
    ASSERT_TRUE(run.StartInput());
    h.Ticks(10, 0.1, &run);
    std::string has;
    for (int id = 0; id <= 54; ++id) {
        float v = 0.0f;
        has += log.GetLogValueText(0, id, v, nullptr) ? '1' : '0';
    }
    // Ids:        0         10        20        30        40        50
    EXPECT_EQ(has, "0011111111101111111111100000000001011111111111111110000");
}

// A start that found its folder asks nothing; when the folder has gone by
// midnight the new day's file makes it again, still without asking.
TEST_F(DataLogTest, AFolderThatWentByMidnightIsMadeAgainWithoutAQuestion)
{
    fs::create_directories(folder);
    h.clock.wallStart = std::chrono::system_clock::from_time_t(1'700'006'399);  // 23:59:59
    h.clock.dayStartSeconds = 86399.0;
    ASSERT_TRUE(run.StartInput());
    h.Ticks(5, 0.1, &run);
    log.Flush();
    fs::remove_all(folder);
    h.Ticks(25, 0.1, &run);
    log.Flush();
    EXPECT_TRUE(questions.texts.empty()) << questions.texts.front();
    EXPECT_EQ(Files(), std::vector<std::string>{"Mic_2023_11_15_000000.csv"});
    EXPECT_TRUE(reports.empty());
}

// Two instances on one data folder whose runs start in the same second: each
// writes a whole file of its own, one start and one stop line, the second
// under the next free name. A name that nobody holds is appended to, as
// before.
TEST_F(DataLogTest, TwoInstancesStartingInTheSameSecondEachWriteAWholeFileOfTheirOwn)
{
    fs::create_directories(folder);
    Harness other;
    other.settings.m_DataPathsInUse.Set(DataPaths::kLog, folder);
    other.settings.DataLog.Channel[0] = opts;
    other.audio.input.left = h.audio.input.left;
    std::vector<std::string> otherReports;
    TDataLog otherLog{other.settings, other.processing, other.clock, other.observer};
    otherLog.SetReport([&](const std::string& text) { otherReports.push_back(text); });
    TRunControl otherRun{other.settings, other.processing,
                         RunServices{other.timer, other.audio, other.daq, other.clock, other.observer, other.plots,
                                     other.utilities, otherLog}};

    ASSERT_TRUE(run.StartInput());
    ASSERT_TRUE(otherRun.StartInput());
    for (int i = 0; i < 35; ++i) {
        h.Ticks(1, 0.1, &run);
        other.Ticks(1, 0.1, &otherRun);
    }
    run.StopInput();
    otherRun.StopInput();
    EXPECT_EQ(Files(), (std::vector<std::string>{"Mic_2023_11_14_221320.csv", "Mic_2023_11_14_221320_2.csv"}));
    for (const std::string& name : Files()) {
        SCOPED_TRACE(name);
        const std::vector<std::string> lines = Lines(folder + "/" + name);
        ASSERT_EQ(lines.size(), 3u + 3u + 1u) << "header, records at 2, 3 and 4 s, stop line";
        EXPECT_EQ(lines[0].rfind("Logging Start Time: ", 0), 0u);
        EXPECT_EQ(lines[2].rfind("Time,", 0), 0u);
        for (int i = 3; i < 6; ++i)
            EXPECT_THAT(Split(lines[i], ','), SizeIs(3)) << lines[i];
        EXPECT_EQ(lines[6].rfind("Logging Stop Time: ", 0), 0u);
    }
    EXPECT_TRUE(reports.empty());
    EXPECT_TRUE(otherReports.empty());

    // Closed, the first name takes the next run started in its second.
    otherLog.SetReport({});
    other.clock.wallStart -= std::chrono::duration_cast<std::chrono::system_clock::duration>(
        std::chrono::duration<double>(other.clock.steady - 1000.0));
    ASSERT_TRUE(otherRun.StartInput());
    EXPECT_EQ(log.OpenFilePath(0), "");
    EXPECT_EQ(otherLog.OpenFilePath(0), folder + "/Mic_2023_11_14_221320.csv");
    otherRun.StopInput();
}

// Other instances hold the first 99 names of the second: the hundredth is
// taken; with that held too the log reports the name and why.
TEST_F(DataLogTest, TheHundredthNameOfASecondIsTriedAndPastItTheLogSaysAllAreInUse)
{
    fs::create_directories(folder);
    const std::string stem = folder + "/Mic_2023_11_14_221320";
    std::vector<std::unique_ptr<LogFile>> held;
    for (int n = 1; n <= 99; ++n) {
        std::string error;
        held.push_back(LogFile::OpenForAppend(stem + (n == 1 ? "" : "_" + std::to_string(n)) + ".csv", error, {}));
        ASSERT_NE(held.back(), nullptr) << error;
    }
    ASSERT_TRUE(run.StartInput());
    EXPECT_EQ(log.OpenFilePath(0), stem + "_100.csv");
    EXPECT_TRUE(reports.empty());
    run.StopInput();

    std::string error;
    held.push_back(LogFile::OpenForAppend(stem + "_100.csv", error, {}));
    ASSERT_NE(held.back(), nullptr) << error;
    h.clock.wallStart -= std::chrono::duration_cast<std::chrono::system_clock::duration>(
        std::chrono::duration<double>(h.clock.steady - 1000.0));
    ASSERT_TRUE(run.StartInput());
    EXPECT_EQ(log.OpenFilePath(0), "");
    EXPECT_THAT(reports, ElementsAre(HasSubstr(stem + ".csv could not be opened: it and the next 99 names are in use")));
    run.StopInput();
}

// The last channel alone logs, through a log made in memory that was not
// zeroed first (as the heap may hand it out): its file gets its records and
// its stop line, and a start and stop touch nothing beyond the log's two
// channels, neither the settings after them nor a third file.
TEST_F(DataLogTest, TheLastChannelAloneLogsAndTouchesNothingBeyondTheTwoChannels)
{
    opts.Enable = 0;
    LoggingOpts& last = h.settings.DataLog.Channel[1];
    last.Enable = 1;
    last.bApplyThreshold = 0;
    last.StartFreq = 100.0f;
    last.StopFreq = 20000.0f;
    std::fill(std::begin(last.DataItem), std::end(last.DataItem), std::uint8_t{0});
    last.DataItem[0] = 1;
    SetTextField(last.LogFileName, "Right");
    h.settings.Processing.ChannelProcessing = 2;
    const WindowSlots windows = h.settings.Windows;

    alignas(TDataLog) unsigned char memory[sizeof(TDataLog)];
    std::memset(memory, 0xA5, sizeof memory);
    TDataLog* dirty = new (memory) TDataLog{h.settings, h.processing, h.clock, h.observer};
    dirty->SetReport([this](const std::string& text) { reports.push_back(text); });
    {
        TRunControl right{h.settings, h.processing,
                          RunServices{h.timer, h.audio, h.daq, h.clock, h.observer, h.plots, h.utilities, *dirty}};
        ASSERT_TRUE(right.StartInput());
        ASSERT_EQ(Files(), std::vector<std::string>{"Right_2023_11_14_221320.csv"});
        EXPECT_EQ(dirty->OpenFilePath(0), "");
        h.Ticks(25, 0.1, &right);
        right.StopInput();
        dirty->Flush();
    }
    const std::vector<std::string> lines = Lines(folder + "/" + Files()[0]);
    ASSERT_GE(lines.size(), 3u + 1u + 1u) << "header, records, the stop line";
    // Channel 1 hears the right input's 5 kHz.
    const double spacing = h.processing.GetLoggingData(1)->GetLineSpacing();
    EXPECT_NEAR(std::stod(Split(lines[3], ',')[1]), 5000.0, spacing);
    EXPECT_EQ(lines.back().substr(0, 19), "Logging Stop Time: ");
    EXPECT_EQ(Files().size(), 1u);
    EXPECT_TRUE(h.settings.Windows == windows) << "the settings after the log's channels";
    EXPECT_TRUE(reports.empty());
    dirty->~TDataLog();
}
