#pragma once
// Input that never arrived during a run, told once when the run ends. The
// driver counts the frames it lost (overruns, xruns, a stalled machine);
// each time the count grows the run notes when, and how much, so the
// operator learns how long the recording and the data log are short and
// where they skip.
//
// Plain logic on the GUI thread: the count is read from the port's delivery
// state, never from the driver's thread.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

class InputLossReport {
public:
    // Stretches named one by one in the message; more are only counted.
    static constexpr std::size_t kNamedStretches = 3;

    struct Stretch {
        double StartSeconds = 0.0;  // into the run
        double Seconds = 0.0;
        // A data-log record fell due while the sound was missing.
        bool LogMissed = false;
    };

    // A run starts at steady `now` and wall time `wall`, with or without a
    // recording and a data log; the port's count as it stands then is not
    // this run's loss. Frames are counted at the analysis rate.
    void Start(double now, std::chrono::system_clock::time_point wall, std::int64_t framesLost, std::uint32_t rate,
               bool recording, bool logging);
    // The count read at steady `now`: what it grew by ended about then.
    void Note(double now, std::int64_t framesLost);
    // How far a stretch's true edges may lie from where it is placed: its
    // end is placed when the count is read, which comes up to a driver
    // buffer and an acquisition step after the sound came back. A due time
    // that near a stretch counts as inside it: the message may say the log
    // misses a stretch it has, never that it has one it misses.
    void SetEdgeMargin(double seconds) { m_EdgeMargin = seconds; }
    // A data-log record fell due at steady `due` (told by the step that
    // took it, on time or late). The log misses a stretch only where one of
    // its records fell due inside it: a loss between two records leaves
    // every record in its place.
    void NoteLogRecordDue(double due);
    // The log channel's next record falls due at steady `next`, and then
    // every `interval` (told after each step): a stretch noted before the
    // next step, or at the stop, counts those due times though no step
    // reached them.
    void NoteLogSchedule(int channel, double next, double interval);
    // The run ends: the message to show, or "" when nothing was lost (or
    // this run's was told already).
    std::string Finish(double now, std::int64_t framesLost, const std::string& device);

    double GetLostSeconds() const;
    const std::vector<Stretch>& GetStretches() const { return m_Stretches; }

private:
    // Due times kept for stretches noted after the step that took them:
    // the log's interval is a second or more, so a few cover any delay.
    static constexpr std::size_t kRecentDueTimes = 8;

    struct Schedule {
        bool Known = false;
        double Next = 0.0;  // into the run
        double Interval = 0.0;
    };

    // A due time, taken or to come, between the two times into the run.
    bool DueWithin(double from, double to) const;
    std::string Place(const Stretch& stretch) const;
    std::string WhatMissesThem(const std::string& total) const;

    bool m_Active = false;
    double m_Start = 0.0;
    std::chrono::system_clock::time_point m_Wall;
    std::uint32_t m_Rate = 0;
    bool m_Recording = false;
    bool m_Logging = false;
    std::int64_t m_Counted = 0;  // the port's count already noted
    std::int64_t m_Lost = 0;     // this run's
    std::vector<Stretch> m_Stretches;
    std::vector<double> m_RecentDue;  // into the run, oldest first
    Schedule m_Schedule[2];
    double m_EdgeMargin = 0.0;
};
