// Playing, stopping and saving the built signal.

#include "utilities/CSigGen.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>

#include "audio/TWaveData.h"
#include "platform/MessageBox.h"
#include "settings/FrameSettings.h"
#include "utilities/CSaveSignalLengthDlg.h"
#include "utilities/siggenlogic/TSigGenPlayRules.h"
#include "utilities/siggenlogic/TSigGenWaveSaver.h"

namespace {

constexpr std::int32_t kAsioDriverMode = 1;

QString ChooseSaveFile(QWidget* parent, const QString& folder)
{
    return QFileDialog::getSaveFileName(parent, "Save Wave File", folder, "Wave Files (*.wav)");
}

} // namespace

void CSigGen::StartGenerator()
{
    if (m_Playing || m_Builder.WaitForBuild())
        return;
    HideProgress();
    setWindowTitle(kCaption);
    m_Playing = true;
    UpdateLayout();
    m_Playing = StartOutput();
    if (!m_Playing)
        UpdateLayout();
}

bool CSigGen::StartOutput()
{
    TWaveData* wave = m_Builder.GetWaveData();
    if (wave == nullptr)
        return false;
    const FrameSettings& settings = Settings();
    if (settings.SoundCardDriverMode == kAsioDriverMode && m_PFrame->IsAnalyzerRunning()) {
        platform::ShowMessageBox(TSigGenPlayRules::kAsioRunningMessage, platform::MessageIcon::Information);
        return false;
    }
    ReleasePort();
    m_PSoundOutput = m_PFrame->CreateOutputPort(settings.m_OutputDevice, settings.SoundCardDriverMode);
    if (m_PSoundOutput == nullptr)
        return false;

    const std::uint32_t rate =
        TSigGenPlayRules::PlaybackRate(settings.SoundCardDriverMode, settings.SigGenChannel[0].SigType, m_SampleRate,
                                       wave->GetSampleRate(), settings.Processing.Format.GetSampleRate());
    const std::uint16_t channels =
        TSigGenPlayRules::PlaybackChannels(m_Channels, settings.Processing.Format.GetChannels());
    const TWaveFormat format(rate, channels, static_cast<std::uint16_t>(m_BitsPerSample / 8));
    const bool loop = TSigGenPlayRules::IsContinuous(settings.SigGenChannel[0]);
    wave->Rewind();
    // A port that opens but will not play is as useless to the operator as
    // one that does not open.
    if (!m_PSoundOutput->Open(format) || !m_PSoundOutput->PreparePlayback(wave, loop, -1, -1)
        || !m_PSoundOutput->Start()) {
        ReleasePort();
        platform::ShowMessageBox(TSigGenPlayRules::kOpenFailureMessage);
        return false;
    }
    if (!loop)
        m_OneShotTimer.start(TSigGenPlayRules::OneShotStopMs(wave->GetDataSeconds()));
    return true;
}

void CSigGen::OnTimer()
{
    m_OneShotTimer.stop();
    StopGenerator();
}

void CSigGen::StopGenerator()
{
    if (Settings().SoundCardDriverMode == kAsioDriverMode && m_PFrame->IsAnalyzerRunning())
        m_PFrame->StopAnalyzer();  // which stops this output too
    else
        StopOutput();
}

void CSigGen::StopOutput()
{
    if (m_Builder.IsBuilding())
        return;
    // A one-shot timer left running would later stop whatever runs then.
    m_OneShotTimer.stop();
    ReleasePort();
    m_Playing = false;
    UpdateLayout();
}

void CSigGen::ReleasePort()
{
    if (m_PSoundOutput == nullptr)
        return;
    m_PSoundOutput->Stop();
    m_PSoundOutput.reset();
}

bool CSigGen::SaveSignalToWaveFile(const std::string& path, int copies)
{
    if (m_Builder.WaitForBuild())
        return false;
    const TWaveData* wave = m_Builder.GetWaveData();
    if (wave == nullptr)
        return false;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool saved = TSigGenWaveSaver::Save(*wave, path, copies);
    QGuiApplication::restoreOverrideCursor();
    return saved;
}

void CSigGen::SaveSignalCommand()
{
    m_PFrame->StopAnalyzer();
    StopOutput();
    if (m_Builder.WaitForBuild())
        return;
    int copies = 1;
    CSaveSignalLengthDlg lengthDialog(this, m_Builder.GetWaveData(), &copies);
    if (lengthDialog.exec() != QDialog::Accepted)
        return;

    DataPaths& paths = Settings().m_DataPathsInUse;
    const QString folder = QFile::decodeName(std::string(paths.Get(DataPaths::kWave)).c_str());
    QString path = (m_SaveFileChooser ? m_SaveFileChooser : ChooseSaveFile)(this, folder);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += ".wav";
    // Paths go to the file system as its own bytes.
    paths.Set(DataPaths::kWave, QFile::encodeName(QFileInfo(path).absolutePath()).toStdString());
    SaveSignalToWaveFile(QFile::encodeName(path).toStdString(), copies);
}
