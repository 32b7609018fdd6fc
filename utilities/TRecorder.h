#pragma once
// The recorder's small tool window: Record, Play, Stop, Rewind and Fast
// Forward over one wave file, a position bar with the elapsed and total
// times, and a File menu (New, Open, Close, Save, Save As, Delete, Exit).
// Recording and playback are the frame's (RecorderFrame); the file and its
// questions are TRecorderDocument's. The frame refreshes the buttons and
// the position while it runs, and asks CloseFile before it closes.

#include <QFont>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

#include "utilities/RecorderFrame.h"
#include "utilities/recorderlogic/RecorderButtons.h"
#include "utilities/recorderlogic/TRecorderDocument.h"

class CToolBtn;
class QMenuBar;
class QScrollBar;
class TWaveFile;

class TRecorder : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRecordId = 101;
    static constexpr int kPlayId = 102;
    static constexpr int kStopId = 103;
    static constexpr int kRewindId = 104;
    static constexpr int kFastForwardId = 105;
    static constexpr int kPositionBarId = 106;
    static constexpr int kBarRange = 1000;

    static constexpr std::uint32_t kFileNew = 57779;
    static constexpr std::uint32_t kFileOpen = 57776;
    static constexpr std::uint32_t kFileClose = 57778;
    static constexpr std::uint32_t kFileSave = 57777;
    static constexpr std::uint32_t kFileSaveAs = 57780;
    static constexpr std::uint32_t kFileDelete = 57781;
    static constexpr std::uint32_t kFileExit = 57924;

    static constexpr const char* kNoFileMessage = "Please Open a .WAV file";

    enum State : std::uint32_t { kStopped = 0, kRecording = 1, kPlaying = 2 };
    enum class FileDialog { Open, SaveAs, Delete };
    // Asks for a file name; empty when the operator cancels.
    using FileChooser = std::function<QString(QWidget* parent, FileDialog kind, const QString& folder)>;
    // Asks whether to disable calibration for a file without any.
    using CalibrationQuestion = std::function<bool(QWidget* parent)>;

    TRecorder(RecorderFrame* frame, QWidget* parent);
    ~TRecorder() override;

    // Builds the children at topLeft (the corner of window slot 10's saved
    // rectangle) and shows the window.
    bool Create(const QPoint& topLeft);

    // ---- Called by the frame ---------------------------------------------
    void UpdateButtons();
    void UpdatePosition();
    void OnStop();
    // True when the caller may go on (no file, or saved or dropped).
    bool CloseFile();
    // The bitmaps of the five buttons, after a change of the desktop's colours.
    void ReloadBitmaps();
    std::uint32_t GetState() const { return m_State; }
    void SetState(std::uint32_t state) { m_State = state; }
    TWaveFile* GetWaveFile() const { return m_Document.File(); }

    // ---- Commands ----------------------------------------------------------
    void OnRecord();
    void OnPlay();
    void OnRewind();
    void OnFastForward();
    void OnCommand(std::uint32_t id);
    void OpenFile(const QString& path);
    void OnScroll(int action, int value);

    // ---- For the frame's tests and for tests -------------------------------
    void SetFileChooser(FileChooser chooser) { m_ChooseFile = std::move(chooser); }
    void SetCalibrationQuestion(CalibrationQuestion question) { m_AskCalibration = std::move(question); }
    const TRecorderDocument& Document() const { return m_Document; }
    CToolBtn* Button(int id) const;
    QScrollBar* PositionBar() const { return m_PositionBar; }
    QMenuBar* Menu() const { return m_Menu; }
    // The two time labels as drawn.
    QString ElapsedText() const;
    QString TotalText() const;

signals:
    // The window's close box or Exit: the frame closes it through its toggle.
    void ClosingUtility(TRecorder* window);

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CreateControls();
    void StopIfRunning();
    void ApplyTitle();
    TRecorderDocument::Prompts Prompts();
    QString Choose(FileDialog kind);
    // Seconds shown left (elapsed, from the bar) and right (total).
    float TotalSeconds() const;
    float ElapsedSeconds() const;

    RecorderFrame* m_Frame;
    TRecorderDocument m_Document;
    std::uint32_t m_State = kStopped;
    std::array<CToolBtn*, recorder_buttons::kCount> m_Buttons{};
    QScrollBar* m_PositionBar = nullptr;
    QMenuBar* m_Menu = nullptr;
    QWidget* m_Transport = nullptr;
    QFont m_Font;
    FileChooser m_ChooseFile;
    CalibrationQuestion m_AskCalibration;
};
