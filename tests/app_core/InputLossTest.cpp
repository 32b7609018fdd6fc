// Input that never arrived: the report's text, and the run telling it once
// when it stops.

#include "app/core/InputLossReport.h"
#include "audio/TWaveFile.h"
#include "tests/app_core/RunTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

using run_test::Harness;
using namespace ::testing;

namespace {

// Times of day in the texts are local: the tests pin the zone to UTC.
class UtcZone {
public:
    UtcZone()
    {
        if (const char* zone = std::getenv("TZ"))
            Saved = zone;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    ~UtcZone()
    {
        if (Saved)
            setenv("TZ", Saved->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> Saved;
};

// 2023-11-14 22:13:20 UTC.
const auto kWall = std::chrono::system_clock::from_time_t(1'700'000'000);

// A run that records and logs, over a port that reports its delivery.
struct RecordingAndLoggingRun {
    RecordingAndLoggingRun()
    {
        h.utilities.recorder = true;
        h.utilities.wave = &recording;
        h.utilities.recorderState = RunUtilities::kRecorderRecording;
        h.settings.DataLog.Active = 1;
        h.settings.DataLog.LogStartTime = 1'700'000'000;  // today: no new log day, whose pause would move the clock
        h.audio.input.delivery = SoundInputPort::DeliveryState{};
    }
    // Timer ticks 0.1 s apart, a buffer delivered before each.
    void Deliver(int ticks)
    {
        for (int i = 0; i < ticks; ++i) {
            h.clock.Advance(0.1);
            ++h.Input().behaviour.delivery->Buffers;
            h.run.OnTimer();
        }
    }

    Harness h;
    TWaveFile recording{48000, TWaveFormat(48000, 2, 2)};
};

} // namespace

TEST(InputLossReport, SaysHowMuchWhenAndWhatMissesItOnceAndNothingWithoutALoss)
{
    UtcZone utc;
    InputLossReport report;
    // The count the port had before the run is not this run's.
    report.Start(100.0, kWall, 5000, 48000, true, false);
    report.Note(150.0, 5000);
    EXPECT_EQ(report.Finish(160.0, 5000, "QuarnDAQ-200"), "");

    // Half a second that ended 72.5 s into the run began at 1:12, 22:14:32.
    report.Start(100.0, kWall, 5000, 48000, true, false);
    report.Note(172.5, 5000 + 24000);
    EXPECT_EQ(report.Finish(180.0, 5000 + 24000, "QuarnDAQ-200"),
              "Input was lost: 500 ms of sound from \"QuarnDAQ-200\" never arrived during this run.\n\n"
              "Lost: 500 ms from 1:12 into the run (22:14:32).\n\n"
              "The recording misses that stretch: it is 500 ms shorter than the time it covered.\n\n"
              "The machine was too busy, or the program was held up, to take the sound as it came.");
    EXPECT_EQ(report.Finish(190.0, 5000 + 48000, "QuarnDAQ-200"), "") << "told once per run";
}

TEST(InputLossReport, NamesThreeStretchesCountsTheRestAndSaysWhichRecordsMissThem)
{
    UtcZone utc;
    struct Case {
        bool recording;
        bool logging;
        int logDueIn;  // how many of the five stretches a log record fell due in
        const char* says;
    };
    const Case cases[] = {
        {true, true, 5,
         "The recording and the data log miss these stretches: the recording is 5.0 seconds shorter than the time "
         "it covered, and the log has no records for them."},
        {true, true, 2,
         "The recording misses these stretches: it is 5.0 seconds shorter than the time it covered. The data log "
         "misses 2 of these stretches: it has no records for those; no record fell due in the others."},
        {true, true, 1,
         "The data log misses 1 of these stretches: it has no records for that one; no record fell due in the "
         "others."},
        {true, true, 0,
         "The recording misses these stretches: it is 5.0 seconds shorter than the time it covered. No data-log "
         "record fell due in them, so the log has every record."},
        {false, true, 5, "The data log misses these stretches: it has no records for them."},
        {false, true, 3,
         "\n\nThe data log misses 3 of these stretches: it has no records for those; no record fell due in the "
         "others.\n\n"},
        {false, true, 0,
         "The analysis did not see these stretches. No data-log record fell due in them, so the log has every "
         "record."},
        {false, false, 0, "\n\nThe analysis did not see these stretches.\n\n"},
        {true, false, 0, "\n\nThe recording misses these stretches: it is 5.0 seconds shorter than the time it "
                         "covered.\n\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        InputLossReport report;
        report.Start(0.0, kWall, 0, 1000, c.recording, c.logging);
        // A second lost at the end of each of five minutes past the first hour: 1:00:59, 1:01:59 …
        // The log's records fall due each 30 s, at 1:00:30, 1:01:00 …, on the edge of the first
        // stretches or in their middle; the others fall due just outside.
        for (int i = 1; i <= 5; ++i) {
            const double end = 3600.0 + 60.0 * i;
            report.NoteLogRecordDue(end - 30.0);
            if (i % 2 == 0) {
                report.Note(end, 1000 * i);
                report.NoteLogRecordDue(i <= c.logDueIn ? end - 0.5 : end + 0.01);
            } else {
                // Taken by a step before the count was read.
                report.NoteLogRecordDue(i <= c.logDueIn ? end - 1.0 : end - 1.01);
                report.Note(end, 1000 * i);
            }
        }
        const std::string text = report.Finish(4000.0, 5000, "");
        EXPECT_THAT(text, StartsWith("Input was lost: 5.0 seconds of sound from the input device never arrived"));
        EXPECT_THAT(text, HasSubstr("Lost: 1.0 s from 1:00:59 into the run (23:14:19); 1.0 s from 1:01:59 into the "
                                    "run (23:15:19); 1.0 s from 1:02:59 into the run (23:16:19); and 2 more "
                                    "stretches.\n\n"));
        EXPECT_THAT(text, HasSubstr(c.says));
        EXPECT_DOUBLE_EQ(report.GetLostSeconds(), 5.0);
        int missed = 0;
        for (const InputLossReport::Stretch& stretch : report.GetStretches())
            missed += stretch.LogMissed ? 1 : 0;
        EXPECT_EQ(missed, c.logDueIn);
    }
}

// Below a second a loss is told in milliseconds, so an xrun of a few never
// reads as nothing; from a second on in seconds.
TEST(InputLossReport, ShortLossesAreToldInMilliseconds)
{
    UtcZone utc;
    const struct {
        std::int64_t frames;  // at 48 kHz
        const char* amount;
        const char* stretch;
    } cases[] = {
        {1, "0.021 ms", "Lost: 0.021 ms from 0:10"},
        {47, "0.98 ms", "Lost: 0.98 ms from 0:10"},
        {48, "1.0 ms", "Lost: 1.0 ms from 0:10"},
        {256, "5.3 ms", "Lost: 5.3 ms from 0:10"},
        {1024, "21 ms", "Lost: 21 ms from 0:10"},
        {45600, "950 ms", "Lost: 950 ms from 0:09"},
        {47975, "999 ms", "Lost: 999 ms from 0:09"},
        {47990, "1.0 seconds", "Lost: 1.0 s from 0:09"},
        {72000, "1.5 seconds", "Lost: 1.5 s from 0:09"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frames);
        InputLossReport report;
        report.Start(0.0, kWall, 0, 48000, true, false);
        report.Note(10.0, c.frames);
        const std::string text = report.Finish(20.0, c.frames, "D");
        EXPECT_THAT(text, StartsWith(std::string("Input was lost: ") + c.amount + " of sound"));
        EXPECT_THAT(text, HasSubstr(c.stretch));
        EXPECT_THAT(text, HasSubstr(std::string("it is ") + c.amount + " shorter"));
        EXPECT_THAT(text, Not(HasSubstr(" 0.0 ")));
    }
}

// A stretch's start to the nearest second, where the run-time clock gains
// its hour field, and how the stretches past the third are counted.
TEST(InputLossReport, TheHourShowsFromTheHourOnAndStretchesPastTheThirdAreCounted)
{
    UtcZone utc;
    struct Case {
        const char* name;
        std::vector<double> ends;  // each a second lost, ending this far into the run
        const char* lost;
    };
    const Case cases[] = {
        {"to the nearest second", {11.7}, "Lost: 1.0 s from 0:11 into the run (22:13:31).\n\n"},
        {"a second before the hour", {3600.0}, "Lost: 1.0 s from 59:59 into the run (23:13:19).\n\n"},
        {"on the hour", {3601.0}, "Lost: 1.0 s from 1:00:00 into the run (23:13:20).\n\n"},
        {"eleven minutes past", {4261.0}, "Lost: 1.0 s from 1:11:00 into the run (23:24:20).\n\n"},
        {"three, all named",
         {11.0, 21.0, 31.0},
         "Lost: 1.0 s from 0:10 into the run (22:13:30); 1.0 s from 0:20 into the run (22:13:40); 1.0 s from "
         "0:30 into the run (22:13:50).\n\n"},
        {"four: one more stretch",
         {11.0, 21.0, 31.0, 41.0},
         "0:30 into the run (22:13:50); and 1 more stretch.\n\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InputLossReport report;
        report.Start(0.0, kWall, 0, 1000, false, false);
        std::int64_t lost = 0;
        for (double end : c.ends)
            report.Note(end, lost += 1000);
        EXPECT_THAT(report.Finish(5000.0, lost, "D"), HasSubstr(c.lost));
    }
}

// A machine-wide stall of 15 s, 5 s into a run that records and logs: the
// run goes on (the watch was held up too, so it does not call the device
// stopped), and Stop tells once how long, when, and what misses it.
TEST(InputLossReport, TheRunTellsOnceAtStopOfAStallThatLostFifteenSeconds)
{
    UtcZone utc;
    RecordingAndLoggingRun run;
    Harness& h = run.h;
    h.audio.input.delivery->FramesLost = 96000;  // an earlier run's
    ASSERT_TRUE(h.run.StartInput());
    auto deliver = [&run](int ticks) { run.Deliver(ticks); };
    deliver(50);
    h.clock.Advance(15.0);
    h.Input().behaviour.delivery->FramesLost += 15 * 48000;
    h.run.OnTimer();
    ASSERT_TRUE(h.run.IsRunning()) << "a stall of the whole program is not a device that stopped";
    deliver(10);
    EXPECT_THAT(h.messages, IsEmpty()) << "nothing while the run goes on";

    h.run.OnStop();
    EXPECT_THAT(h.messages,
                ElementsAre(AllOf(HasSubstr("15.0 seconds of sound from \"Test Device\" never arrived"),
                                  HasSubstr("Lost: 15.0 s from 0:05 into the run (22:13:25)."),
                                  HasSubstr("The recording and the data log miss that stretch: the recording is "
                                            "15.0 seconds shorter"))));
    h.run.OnStop();
    EXPECT_EQ(h.messages.size(), 1u);

    // The next run loses nothing and says nothing.
    ASSERT_TRUE(h.run.StartInput());
    deliver(5);
    h.run.OnStop();
    EXPECT_EQ(h.messages.size(), 1u);
}

// An xrun of 5 ms between two of the log's records, in a run that records
// and logs: the recording is short by it, the log has every record, and the
// message says so in milliseconds.
TEST(InputLossReport, TheRunTellsAShortLossBetweenTwoLogRecordsAsMissedOnlyByTheRecording)
{
    UtcZone utc;
    RecordingAndLoggingRun run;
    Harness& h = run.h;
    ASSERT_TRUE(h.run.StartInput());
    auto deliver = [&run](int ticks) { run.Deliver(ticks); };
    deliver(30);
    // Half-way between two whole seconds, where the fake log's records fall due.
    h.clock.Advance(1.5 - std::fmod(h.clock.SteadySeconds(), 1.0));
    h.Input().behaviour.delivery->FramesLost += 240;
    deliver(30);
    h.run.OnStop();
    ASSERT_EQ(h.messages.size(), 1u);
    EXPECT_THAT(h.messages[0],
                AllOf(HasSubstr("Input was lost: 5.0 ms of sound from \"Test Device\""), HasSubstr("Lost: 5.0 ms from"),
                      HasSubstr("The recording misses that stretch: it is 5.0 ms shorter than the time it covered. No "
                                "data-log record fell due in it, so the log has every record.")));
}

// A hold-up that ends in Stop, with no step after it, in a run that records
// and logs a record a second: the driver counts the loss as it stops. The
// log misses the stretch where a record fell due inside it, or within a
// driver buffer and a timer interval (here 31 ms) of its edges, though no
// step reached that due time.
TEST(InputLossReport, AHoldUpEndedByStopIsToldWithTheRecordsThatFellDueInIt)
{
    UtcZone utc;
    const char* const missed = "The recording and the data log miss that stretch";
    const char* const whole = "No data-log record fell due in it, so the log has every record.";
    const struct {
        const char* name;
        double stopAfter;  // seconds from the last step, 50 ms past a due time, to the stop
        double lost;       // seconds, ending at the stop
        const char* says;
    } cases[] = {
        {"3 due times in it", 3.0, 3.0, missed},
        {"1 due time in it", 1.2, 0.5, missed},
        {"0 due times: 250 ms clear of both", 0.7, 0.5, whole},
        {"a due time 5 ms before its start", 1.455, 0.5, missed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingAndLoggingRun run;
        Harness& h = run.h;
        h.clock.Advance(0.05);  // steps fall between the whole seconds the records fall due at
        ASSERT_TRUE(h.run.StartInput());
        h.Input().behaviour.delivery->BufferSeconds = 512.0 / 48000.0;
        run.Deliver(30);
        h.clock.Advance(c.stopAfter);
        h.Input().behaviour.framesLostByStop = std::llround(c.lost * 48000.0);
        h.run.OnStop();
        ASSERT_EQ(h.messages.size(), 1u);
        EXPECT_THAT(h.messages[0], HasSubstr(c.says));
    }
}
