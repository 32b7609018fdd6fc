#pragma once
// The signal generator's small tool window: a signal type per channel, the
// output level, each type's parameters, and Run / Stop. It owns the built
// signal (through its waveform builder) and its own output port, and plays
// the signal once or in a loop.
//
// Under ASIO the generator plays together with the analyzer: the frame
// starts it after the analyzer's input is prepared and stops it with the
// analyzer; Run here is refused while the analyzer runs, and Stop here (or
// any change of signal) stops the analyzer too.
//
// The build runs on a worker thread whose progress and completion arrive
// here as queued signals. Nothing replaces or frees the buffer while the
// worker writes it or the port plays it: a new build first stops the port,
// and the builder cancels and joins a running build first.

#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "audio/SoundOutputPort.h"
#include "utilities/SigGenBuildRelay.h"
#include "utilities/SigGenFrame.h"
#include "utilities/siggen/TSigGenBuildRequest.h"
#include "utilities/siggen/TSigGenOutputFormat.h"
#include "utilities/siggen/TWaveformBuilder.h"

class QComboBox;
class QPushButton;
class TWaveData;

class CSigGen : public QWidget {
    Q_OBJECT

public:
    static constexpr int IDT_SIGGEN_ONESHOT = 302;
    static constexpr int kRunId = 401;
    static constexpr int kStopId = 402;
    static constexpr int kLevelId = 403;
    static constexpr int kLeftTypeId = 404;
    static constexpr int kRightTypeId = 405;
    static constexpr int kLeftDetailsId = 406;
    static constexpr int kRightDetailsId = 407;

    static constexpr const char* kCaption = "Signal Generator";
    static constexpr const char* kBuildingCaption = "Building Waveform...";

    // Outer sizes of the two layouts, caption and borders included; the
    // client area is this less kNonClientSize.
    static constexpr QSize kFullSize{216, 120};
    static constexpr QSize kPlayingSize{56, 58};
    static constexpr QSize kNonClientSize{6, 23};

    // Asks for the name to save the signal under, starting in a folder;
    // empty when the operator cancels.
    using SaveFileChooser = std::function<QString(QWidget* parent, const QString& folder)>;

    // parent: the frame's window, which the tool window stays above.
    CSigGen(SigGenFrame* frame, QWidget* parent);
    ~CSigGen() override;

    // Creates the controls at topLeft (the saved rectangle's corner of
    // window slot 6), shows the window and starts the first build.
    bool Create(const QPoint& topLeft);

    // ---- Called by the frame ---------------------------------------------
    // Plays the signal, waiting for a running build first; nothing when it
    // already plays or the build does not end within the wait.
    void StartGenerator();
    // Stops and deletes the output port (not while a build runs).
    void StopOutput();
    // The window's Stop: through the analyzer's stop while it runs (ASIO).
    void StopGenerator();
    // Rebuilds from the frame's records and refills the type lists.
    void RefreshFromSettings();
    // Writes the signal `copies` times into a wave file; false when there
    // is no signal or writing failed (the wave file reports its failures).
    bool SaveSignalToWaveFile(const std::string& path, int copies);
    // The frame's save-signal command: stops the analyzer, asks the number
    // of copies and the file name, and saves.
    void SaveSignalCommand();
    // The frame's toggle sets this before it stops and deletes the window.
    void CancelBuild() { m_Builder.CancelBuild(); }

    bool IsPlaying() const { return m_Playing; }
    bool IsBuilding() const { return m_Builder.IsBuilding(); }
    // Null while building and when the last build did not complete.
    TWaveData* GetWaveData() { return m_Builder.GetWaveData(); }
    std::uint32_t GetSampleRate() const { return m_SampleRate; }
    std::uint32_t GetChannels() const { return m_Channels; }
    const QTimer& GetOneShotTimer() const { return m_OneShotTimer; }
    // The full layout's client size: kFullSize less the caption and
    // borders, and wider by what the lists need beyond their 90 pixels.
    QSize GetFullClientSize() const;
    void SetSaveFileChooser(SaveFileChooser chooser) { m_SaveFileChooser = std::move(chooser); }

    // ---- Commands of the window's controls ------------------------------
    void OnRunButton() { StartGenerator(); }
    void OnLevel();
    void OnDetailsLeft() { OnDetails(0); }
    void OnDetailsRight() { OnDetails(1); }
    void OnSelChangeLeftType(int entry);
    void OnSelChangeRightType(int entry);
    void OnRightTypeFocus();
    // The one-shot stop timer.
    void OnTimer();

signals:
    // The window asks the frame to close it (WM_CLOSING_UTILITY); the frame
    // stores its placement and deletes it through its generator toggle.
    void ClosingUtility(CSigGen* window);

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FrameSettings& Settings() { return m_PFrame->GetSettings(); }

    // Creation and layout (CSigGen.cpp).
    void CreateControls();
    QPushButton* MakeButton(int id, const QString& text);
    void CreateTypeCombo(int channel);
    void UpdateLayout();
    void UpdateDetailsButtons();
    void UpdateCaption();

    // Building (CSigGenBuild.cpp).
    TSigGenBuildRequest MakeRequest();
    void ApplyOutputFormat(const TSigGenOutputFormat& format);
    void UpdateOutputFormat();
    void StartBuild();
    void OnBuildProgress(int percent);
    void OnBuildFinished(const TSigGenBuildResult& result);
    void ShowProgress();
    void HideProgress();

    // Playing (CSigGenPlay.cpp).
    bool StartOutput();
    void ReleasePort();

    // Commands (CSigGenCommands.cpp).
    void OnDetails(int channel);
    bool EditChannelSettings(int channel);

    SigGenFrame* m_PFrame;
    // Declared before the builder: a build the builder's destructor
    // cancels still reports its end to the relay.
    SigGenBuildRelay m_Relay;
    TWaveformBuilder m_Builder;
    std::uint64_t m_CurrentBuild = 0;
    std::unique_ptr<SoundOutputPort> m_PSoundOutput;
    QTimer m_OneShotTimer;
    SaveFileChooser m_SaveFileChooser;

    bool m_Playing = false;
    bool m_ControlsCreated = false;
    // The window is showing or hiding its own controls: focus it moves
    // meanwhile is not the operator's.
    bool m_Rearranging = false;
    // The window shows a build until its completion arrives.
    bool m_BuildShown = false;
    int m_ListExtraWidth = 0;
    std::uint32_t m_SampleRate = 48000;
    std::uint32_t m_BitsPerSample = 16;
    std::uint32_t m_Channels = 1;

    QPushButton* m_PRunButton = nullptr;
    QPushButton* m_PStopButton = nullptr;
    QPushButton* m_PLevelButton = nullptr;
    QComboBox* m_PLeftTypeCombo = nullptr;
    QComboBox* m_PRightTypeCombo = nullptr;
    QPushButton* m_PLeftDetailsButton = nullptr;
    QPushButton* m_PRightDetailsButton = nullptr;
    QFont m_Font;
};
