// The .cfg file's sections and keys, in the order they are written.

#include <string>

#include "settings/CfgVisitor.h"

namespace {

std::string Numbered(std::string_view stem, int n) { return std::string(stem) + std::to_string(n); }

void VisitDevice(FrameSettings& s, CfgVisitor& v)
{
    const std::string_view sec = "Device";
    v.Int32(sec, "SoundCardDriverMode", s.SoundCardDriverMode, "1");
    v.UInt16(sec, "DAQ_InputGain", s.Daq.DAQ_InputGain, "2");
    v.Flag(sec, "DAQ_IEPE_Left", s.Daq.DAQ_IEPE_Left, "1");
    v.Flag(sec, "DAQ_IEPE_Right", s.Daq.DAQ_IEPE_Right, "1");
    v.Flag(sec, "DAQ_PowerDownFlag", s.Daq.DAQ_PowerDownFlag, "1");
}

void VisitToolbars(FrameSettings& s, CfgVisitor& v)
{
    const std::string_view sec = "Toolbars";
    v.Flag(sec, "Main", s.m_ShowSidebar, "1");
    v.Flag(sec, "Buttons", s.m_ShowToolbar, "1");
    v.Flag(sec, "Statusbar", s.m_ShowStatusbar, "1");
}

void VisitPrintOpts(PrintOpts& p, CfgVisitor& v)
{
    const std::string_view sec = "PrintOpts";
    v.Text(sec, "Annotation1", p.Annotation1, "");
    v.Text(sec, "Annotation2", p.Annotation2, "");
    v.Float(sec, "MarginLeft", p.MarginLeft, "0.50");
    v.Float(sec, "MarginRight", p.MarginRight, "0.50");
    v.Float(sec, "MarginTop", p.MarginTop, "0.50");
    v.Float(sec, "MarginBottom", p.MarginBottom, "0.50");
    v.Flag(sec, "EnableCommentBlock", p.EnableCommentBlock, "0");
    for (int n = 0; n < static_cast<int>(PrintOpts::kCommentCount); ++n)
        v.Text(sec, Numbered("Comment", n + 1), p.Comment[n], "");
}

void VisitProcessing(FrameSettings& s, CfgVisitor& v)
{
    const std::string_view sec = "Settings";
    TProcessingSettings& p = s.Processing;
    v.UInt32(sec, "FFTsize", p.FFTsize, "8192");
    v.Format(sec, p.Format);
    v.UInt32(sec, "AverageBlocks", p.AverageBlocks[0], "4");
    v.UInt16(sec, "AverageType", p.AverageType[0], "0");
    v.UInt16(sec, "AverageMode", p.AverageMode[0], "1");
    v.UInt16(sec, "AverageSpeed", p.AverageSpeed[0], "1");
    v.UInt32(sec, "AverageBlocksR", p.AverageBlocks[1], "4");
    v.UInt16(sec, "AverageTypeR", p.AverageType[1], "0");
    v.UInt16(sec, "AverageModeR", p.AverageMode[1], "1");
    v.UInt16(sec, "AverageSpeedR", p.AverageSpeed[1], "1");
    v.UInt16(sec, "DecimationRatio", p.DecimationRatio, "1");
    v.Flag(sec, "ApplyLowPassFilter", p.ApplyLowPassFilter, "1");
    v.UInt16(sec, "SmoothingWindow", p.SmoothingWindow, "4");
    v.UInt16(sec, "OverlapPercent", p.OverlapPercent, "75");
    v.UInt16(sec, "ChannelProcessing", p.ChannelProcessing, "0");
    v.UInt16(sec, "DelayChannel", p.DelayChannel, "0");
    v.Float(sec, "DelayTimeMsec", p.DelayTimeMsec, "0");
    v.Flag(sec, "EnableOverloadDetection", p.EnableOverloadDetection, "1");
    v.Flag(sec, "ExcludeOverloadFlag", p.ExcludeOverloadFlag, "0");
    v.WriteOnlyFlag(sec, "IndependentScalingAndCalibration", p.IndependentScalingAndCalibration);
    v.Flag(sec, "LockSignalGeneratorChannels", s.LockSignalGeneratorChannels, "0");
}

void VisitScaling(ScalingOpts& o, int channel, CfgVisitor& v)
{
    const bool right = channel == 1;
    const std::string_view sec = right ? "Scaling2" : "Scaling";
    v.UInt16(sec, "AmpScaleType", o.AmpScaleType, right ? "2" : "1");
    v.UInt16(sec, "FreqScaleType", o.FreqScaleType, "0");
    v.UInt16(sec, "OctaveNumber", o.OctaveNumber, "3");
    v.Flag(sec, "SpectralDensityFlag", o.SpectralDensityFlag, "0");
    v.UInt16(sec, "SpectralDensityType", o.SpectralDensityType, "0");
    v.UInt16(sec, "StandardWeighting", o.StandardWeighting, "0");
    v.UInt16(sec, "TotalPowerWeighting", o.TotalPowerWeighting, "0");
    v.Flag(sec, "MicCompEnable", o.MicCompEnable, "0");
    v.Text(sec, right ? "MicCompFilenameRight" : "MicCompFilenameLeft", o.MicCompFilename, "");
    v.UInt16(sec, "UtilityFreqSpanType", o.UtilityFreqSpanType, "2");
    v.Float(sec, "UtilityFreqCustomStart", o.UtilityFreqCustomStart, right ? "1.0" : "900.0");
    v.Float(sec, "UtilityFreqCustomStop", o.UtilityFreqCustomStop, right ? "250.0" : "95000.0");
}

void VisitCalibration(TChannelCalibration& c, int channel, CfgVisitor& v)
{
    const bool right = channel == 1;
    const std::string_view sec = right ? "CalibrationR" : "Calibration";
    v.UInt32(sec, "IsEnabled", c.IsEnabled, "1");
    v.Float(sec, "RefLevel", c.RefLevel, "94.0");
    v.UInt32(sec, "RefType", c.RefType, "1");
    v.UInt32(sec, "RefUnits", c.RefUnits, right ? "3" : "2");
    v.UInt32(sec, "ConversionType", c.ConversionType, "0");
    v.UInt32(sec, "IntegrationType", c.IntegrationType, "0");
    v.Text(sec, "LabelLinear", c.LabelLinear, right ? "Acceleration G rms" : "Pascals rms");
    v.Text(sec, "LabelLog", c.LabelLog, right ? "Acceleration (dB re 1G) rms" : "SPL (dB re 20uPA) rms");
    v.UInt32(sec, "LabelType", c.LabelType, "1");
    v.Float(sec, right ? "PctFullScaleRight" : "PctFullScaleLeft", c.PctFullScale, right ? "0.050" : "-1.0");
    v.Float(sec, right ? "CalRatioRight" : "CalRatioLeft", c.CalRatio, "1.0");
    v.Text(sec, right ? "RightChannelName" : "LeftChannelName", c.ChannelName, right ? "Accelerometer" : "Microphone");
    v.UInt16(sec, "CalCreateMode", c.CalCreateMode, right ? "2" : "0");
    v.Float(sec, "TransducerSensitivityVolts", c.TransducerSensitivityVolts, right ? "0.100" : "0.012");
    v.Float(sec, "DAQVoltageRange", c.DAQVoltageRange, "0.625");
    v.UInt16(sec, "CalVersion", c.CalVersion, "5100");
}

void VisitTrigger(TriggerOpts& t, CfgVisitor& v)
{
    const std::string_view sec = "Trigger";
    v.Flag(sec, "Enable", t.Enable, "0");
    v.UInt32(sec, "Channel", t.Channel, "0");
    v.UInt32(sec, "Mode", t.Mode, "0");
    v.UInt16(sec, "TriggerType", t.TriggerType, "0");
    v.UInt16(sec, "TriggerSlope", t.TriggerSlope, "0");
    v.Float(sec, "Threshold", t.Threshold, "25.0");
    v.UInt16(sec, "DelayType", t.DelayType, "0");
    v.Float(sec, "DelayMsec", t.DelayMsec, "5.0");
    v.Flag(sec, "StartSigGenOnTrigger", t.StartSigGenOnTrigger, "0");
}

void VisitRunControl(RunControlOpts& r, CfgVisitor& v)
{
    const std::string_view sec = "RunControl";
    v.UInt16(sec, "Mode", r.Mode, "0");
    v.UInt32(sec, "LimitFFT", r.LimitFFT, "100");
    v.Float(sec, "LimitSeconds", r.LimitSeconds, "10.0");
    v.Flag(sec, "bEnableRunDelay", r.bEnableRunDelay, "0");
    v.Float(sec, "RunDelaySeconds", r.RunDelaySeconds, "2.0");
    v.Flag(sec, "bUpdateIntervalFlag", r.bUpdateIntervalFlag, "0");
    v.UInt32(sec, "UpdateIntervalMilliseconds", r.UpdateIntervalMilliseconds, "100");
    v.Flag(sec, "bStartMultipleInstances", r.bStartMultipleInstances, "0");
}

void VisitMarkers(MarkerOpts& m, int plot, CfgVisitor& v)
{
    const std::string_view sec = plot == 1 ? "MarkersR" : "Markers";
    for (int n = 0; n < static_cast<int>(MarkerOpts::kMarkerCount); ++n) {
        v.UInt32(sec, Numbered("MarkerEnable", n), m.MarkerEnable[n], "0");
        v.Float(sec, Numbered("MarkerFreq", n), m.MarkerFreq[n], "1000.0");
        v.UInt32(sec, Numbered("LabelType", n), m.LabelType[n], "2");
        v.Text(sec, Numbered("CustomLabel", n), m.CustomLabel[n], "");
    }
    v.Flag(sec, "PeakHoldFlag", m.PeakHoldFlag, "0");
}

void VisitSeries(SeriesOpts& o, CfgVisitor& v)
{
    const std::string_view sec = "SeriesOpts";
    v.Flag(sec, "ShowToolbar", o.ShowToolbar, "1");
    v.UInt16(sec, "AmpScaleType", o.AmpScaleType, "0");
    v.Flag(sec, "GridXEnabled", o.GridXEnabled, "1");
    v.Flag(sec, "GridYEnabled", o.GridYEnabled, "1");
    v.Float(sec, "PlotTop", o.PlotTop, "100.0");
    v.Float(sec, "PlotRange", o.PlotRange, "100.0");
    v.Float(sec, "PlotCenter", o.PlotCenter, "0.0");
    v.UInt16(sec, "PlotChannel", o.PlotChannel, "0");
    v.UInt32(sec, "LineColor", o.LineColor, "255");
    v.UInt32(sec, "BackgroundColor", o.BackgroundColor, "16777215");
    v.UInt32(sec, "GridColor", o.GridColor, "8421504");
    v.Float(sec, "StartTime", o.StartTime, "0.0");
    v.Float(sec, "StopTime", o.StopTime, "1.0");
    v.UInt32(sec, "ThresholdMarkPercentage", o.ThresholdMarkPercentage, "25");
    v.Flag(sec, "DisplayMaxMinRangeAsRMS", o.DisplayMaxMinRangeAsRMS, "0");
    v.Flag(sec, "IntervalFlag", o.IntervalFlag, "0");
    v.Float(sec, "IntervalSecs", o.IntervalSecs, "0.1");
    v.Flag(sec, "GrabCursorFlag", o.GrabCursorFlag, "0");
}

void VisitSpectrum(SpectrumOpts& o, int plot, CfgVisitor& v)
{
    static constexpr const char* kOverlayColorDefaults[SpectrumOpts::kOverlayCount] = {
        "16711680", "11447808", "8388736", "16711935", "16512", "4227327", "0"};
    const bool second = plot == 1;
    const std::string_view sec = second ? "SpectrumOpts2" : "SpectrumOpts";
    v.UInt16(sec, "PlotType", o.PlotType, "0");
    v.Flag(sec, "ShowToolbar", o.ShowToolbar, "1");
    v.Flag(sec, "GridXEnabled", o.GridXEnabled, "1");
    v.Flag(sec, "GridYEnabled", o.GridYEnabled, "1");
    v.Float(sec, "PlotTop", o.PlotTop, second ? "1.0" : "100.0");
    v.Float(sec, "PlotRange", o.PlotRange, second ? "0.0001" : "100.0");
    v.Float(sec, "StartFreq", o.StartFreq, second ? "1.0" : "1000.0");
    v.Float(sec, "StopFreq", o.StopFreq, second ? "500.0" : "95000.0");
    v.UInt32(sec, "LineColor", o.LineColor, "65280");
    v.UInt32(sec, "PeakColor", o.PeakColor, "255");
    v.UInt32(sec, "BackgroundColor", o.BackgroundColor, "0");
    v.UInt32(sec, "GridColor", o.GridColor, "8421504");
    v.UInt32(sec, "MarkerColor", o.MarkerColor, "16777215");
    v.Flag(sec, "ShowRMSLevel", o.ShowRMSLevel, "0");
    v.Flag(sec, "ShowPowerMeter", o.ShowPowerMeter, "1");
    v.Flag(sec, "ShowOverlayControls", o.ShowOverlayControls, "1");
    v.Flag(sec, "GrabCursorFlag", o.GrabCursorFlag, "1");
    v.Flag(sec, "IntervalFlag", o.IntervalFlag, "1");
    v.Float(sec, "IntervalSecs", o.IntervalSecs, "0.02");
    v.UInt16(sec, "PeakHold", o.PeakHold, "2");
    v.Flag(sec, "DrawThickSpectrum", o.DrawThickSpectrum, second ? "1" : "0");
    v.Flag(sec, "DrawThickPeakHold", o.DrawThickPeakHold, second ? "1" : "0");
    v.Flag(sec, "DrawThickOverlays", o.DrawThickOverlays, second ? "1" : "0");
    v.Flag(sec, "DrawThickMarkers", o.DrawThickMarkers, second ? "1" : "0");
    for (int e = 0; e < static_cast<int>(SpectrumOpts::kOverlayCount); ++e) {
        const int i = e + 1;
        SpectrumOverlayEntry& entry = o.Overlay[e];
        v.Flag(sec, Numbered("Show1_", i), entry.Show1, "0");
        v.Flag(sec, Numbered("Show2_", i), entry.Show2, "0");
        const std::string colorKey = i == 7 ? std::string("OverlayColorC") : Numbered("OverlayColor", i);
        v.UInt32(sec, colorKey, entry.Color, kOverlayColorDefaults[e]);
        v.Float(sec, Numbered("Offset1_", i), entry.Offset1, "0.0");
        v.Float(sec, Numbered("Offset2_", i), entry.Offset2, "0.0");
        v.Flag(sec, Numbered("IncludeInAverage1_", i), o.IncludeInAverage1[e], "1");
        v.Flag(sec, Numbered("IncludeInAverage2_", i), o.IncludeInAverage2[e], "1");
    }
    v.UInt16(sec, "OverlayLegendSize", o.OverlayLegendSize, "8");
    v.UInt16(sec, "CompositeType1", o.CompositeType1, "0");
    v.UInt16(sec, "DifferenceIndex1_1", o.DifferenceIndex1_1, "0");
    v.UInt16(sec, "DifferenceIndex1_2", o.DifferenceIndex1_2, "1");
    v.UInt16(sec, "CompositeType2", o.CompositeType2, "0");
    v.UInt16(sec, "DifferenceIndex2_1", o.DifferenceIndex2_1, "0");
    v.UInt16(sec, "DifferenceIndex2_2", o.DifferenceIndex2_2, "1");
}

void VisitLogging(DataLogSettings& d, CfgVisitor& v)
{
    const std::string_view sec = "Logging";
    v.Flag(sec, "OverwriteFlag", d.OverwriteFlag, "0");
    v.UInt32(sec, "FilenameFormat", d.FilenameFormat, "1");
    v.Flag(sec, "IncludeHeaderFlag", d.IncludeHeaderFlag, "1");
    v.Flag(sec, "IncludeTimeStampFlag", d.IncludeTimeStampFlag, "1");
    v.Text(sec, "LogViewerProgram", d.LogViewerProgram, "Notepad.exe");

    for (int channel = 0; channel < 2; ++channel) {
        const std::string section = Numbered("LoggingOpts_", channel);
        LoggingOpts& o = d.Channel[channel];
        v.Flag(section, "Enable", o.Enable, "0");
        v.Text(section, "LogFileName", o.LogFileName, "");
        v.Flag(section, "IntervalFlag", o.IntervalFlag, "1");
        v.Float(section, "IntervalSecs", o.IntervalSecs, "1.0");
        v.Flag(section, "bResetAverage", o.bResetAverage, "1");
        v.Flag(section, "bResetPeakHold", o.bResetPeakHold, "1");
        v.Flag(section, "bApplyThreshold", o.bApplyThreshold, "0");
        v.UInt32(section, "ThresholdType", o.ThresholdType, "1");
        v.Float(section, "ThresholdLevel", o.ThresholdLevel, "0.0");
        v.Float(section, "StartFreq", o.StartFreq, "20.0");
        v.Float(section, "StopFreq", o.StopFreq, "20000.0");
        for (int n = 0; n < static_cast<int>(LoggingOpts::kDataItemCount); ++n)
            v.Flag(section, Numbered("DataItem_", n), o.DataItem[n], "0");
    }
}

void VisitWindowSlots(WindowSlots& w, CfgVisitor& v)
{
    static constexpr const char* kStatusKeys[WindowSlots::kSlotCount] = {
        "Main", "SignalGenerator", "Peak Freq", "Peak Amp", "Total Pwr", "Recorder"};
    static constexpr const char* kPlacementKeys[WindowSlots::kSlotCount] = {
        "Main", "Signal Generator", "Peak Freq", "Peak Amp", "Total Pwr", "Recorder"};
    for (std::size_t i = 0; i < WindowSlots::kSlotCount; ++i)
        v.Flag("ViewStatus", kStatusKeys[i], w.Slot[i].Open, i == 0 ? "1" : "0");
    for (std::size_t i = 0; i < WindowSlots::kSlotCount; ++i)
        v.Text("Placement", kPlacementKeys[i], w.Slot[i].Placement, "");
}

void VisitSigGenChannel(SigGenChannelSettings& g, int channel, CfgVisitor& v)
{
    const std::string suffix = channel == 1 ? "R" : "";
    const auto sec = [&](std::string_view name) { return std::string(name) + suffix; };

    const std::string noise = sec("NoiseBurst");
    v.UInt16(noise, "Type", g.NoiseBurst.Type, "1");
    v.Int32(noise, "BurstTimeMsec", g.NoiseBurst.BurstTimeMsec, "1000");
    v.Int32(noise, "CycleTimeMsec", g.NoiseBurst.CycleTimeMsec, "2000");

    const std::string sweep = sec("FreqSweep");
    v.Float(sweep, "FStartHz", g.FreqSweep.FStartHz, "1000.0");
    v.Float(sweep, "FStopHz", g.FreqSweep.FStopHz, "2000.0");
    v.Int32(sweep, "TimeMSec", g.FreqSweep.TimeMSec, "10000");
    v.Int32(sweep, "SweepType", g.FreqSweep.SweepType, "1");
    v.Flag(sweep, "SingleSweepFlag", g.FreqSweep.SingleSweepFlag, "0");
    v.Flag(sweep, "ReturnSweepFlag", g.FreqSweep.ReturnSweepFlag, "0");

    const std::string step = sec("FreqStep");
    v.Float(step, "FStartHz", g.FreqStep.FStartHz, "20.0");
    v.Float(step, "FStopHz", g.FreqStep.FStopHz, "22000.0");
    v.Int32(step, "DwellTimeMSec", g.FreqStep.DwellTimeMSec, "1000");
    v.Float(step, "StepSize", g.FreqStep.StepSize, "1000");
    v.Int32(step, "OctaveNumber", g.FreqStep.OctaveNumber, "3");
    v.Int32(step, "StepType", g.FreqStep.StepType, "1");
    v.Flag(step, "SingleStepFlag", g.FreqStep.SingleStepFlag, "0");
    v.Flag(step, "ReturnStepFlag", g.FreqStep.ReturnStepFlag, "0");

    const std::string level = sec("LevelSweep");
    v.Float(level, "StartDB", g.LevelSweep.StartDB, "-20.0");
    v.Float(level, "StopDB", g.LevelSweep.StopDB, "0.0");
    v.Int32(level, "TimeMSec", g.LevelSweep.TimeMSec, "10000");
    v.Float(level, "FreqHz", g.LevelSweep.FreqHz, "1000.0");

    const std::string tones = sec("Tones");
    const int count = static_cast<int>(SigGenChannelSettings::kToneCount);
    for (int n = 0; n < count; ++n)
        v.Flag(tones, Numbered("ToneEnable", n), g.Tones[n].ToneEnable, n == 0 ? "1" : "0");
    for (int n = 0; n < count; ++n)
        v.Float(tones, Numbered("FreqHz", n), g.Tones[n].FreqHz, std::to_string(1000 * (n + 1)) + ".0");
    for (int n = 0; n < count; ++n)
        v.Float(tones, Numbered("PwrDB", n), g.Tones[n].PwrDB, "0.0");

    const std::string burst = sec("ToneBurst");
    v.Int32(burst, "FreqHz", g.ToneBurst.FreqHz, "1000");
    v.Int32(burst, "BurstTimeMsec", g.ToneBurst.BurstTimeMsec, "1000");
    v.Int32(burst, "CycleTimeMsec", g.ToneBurst.CycleTimeMsec, "2000");

    const std::string imd = sec("IMD");
    v.UInt16(imd, "IMDtype", g.IMD.IMDtype, "0");
    v.Float(imd, "LoFreqHz", g.IMD.LoFreqHz, "100.0");
    v.Float(imd, "HiFreqHz", g.IMD.HiFreqHz, "5000.0");
    v.Float(imd, "PwrRatio", g.IMD.PwrRatio, "4.0");

    const std::string pulse = sec("Pulse");
    v.Int32(pulse, "WidthNSec", g.Pulse.WidthNSec, "200");
    v.Int32(pulse, "RepIntervalNSec", g.Pulse.RepIntervalNSec, "10000");
    v.Flag(pulse, "OneShotFlag", g.Pulse.OneShotFlag, "0");

    const std::string saw = sec("Sawtooth");
    v.Int32(saw, "Slope", g.Sawtooth.Slope, "1");
    v.Float(saw, "FreqHz", g.Sawtooth.FreqHz, "1000.0");

    v.Float(sec("Triangular"), "FreqHz", g.Triangular.FreqHz, "1000.0");

    const std::string square = sec("Square");
    v.Float(square, "FreqHz", g.Square.FreqHz, "2000.0");
    v.Int32(square, "DutyCyclePct", g.Square.DutyCyclePct, "50");

    const std::string user = sec("User Defined");
    v.Text(user, "WaveFileName", g.UserDefined.WaveFileName, "");
    v.Flag(user, "RepeatFlag", g.UserDefined.RepeatFlag, "1");

    const std::string dtmf = channel == 1 ? "DTMF_R" : "DTMF";
    v.Text(dtmf, "KeyString", g.DTMF.KeyString, "1234567890*#ABCD");
    v.Int32(dtmf, "PulseWidthMsec", g.DTMF.PulseWidthMsec, "100");
    v.Int32(dtmf, "PulseSpacingMsec", g.DTMF.PulseSpacingMsec, "100");
    v.Float(dtmf, "TwistDB", g.DTMF.TwistDB, "3.0");
    v.Flag(dtmf, "RepeatFlag", g.DTMF.RepeatFlag, "0");
}

void VisitSigGen(FrameSettings& s, CfgVisitor& v)
{
    const std::string_view sec = "SigGen";
    SigGenOutputSettings& o = s.SigGenOutput;
    v.Float(sec, "OutputLevel", o.OutputLevel, "-6.0");
    v.Float(sec, "OutputLevelR", o.OutputLevelR, "-6.0");
    v.Int32(sec, "OutputUnits", o.OutputUnits, "0");
    v.UInt16(sec, "FSOption", o.FSOption, "1");
    v.Float(sec, "FSVoltage", o.FSVoltage, "1.0");

    v.Int32("Main", "SigType", s.SigGenChannel[0].SigType, "3");
    v.Int32("Main", "SigTypeR", s.SigGenChannel[1].SigType, "3");
    VisitSigGenChannel(s.SigGenChannel[0], 0, v);
    VisitSigGenChannel(s.SigGenChannel[1], 1, v);
}

} // namespace

void VisitCfgKeys(FrameSettings& s, CfgVisitor& v)
{
    VisitDevice(s, v);
    VisitToolbars(s, v);
    VisitPrintOpts(s.Print, v);
    v.UInt16("Mode", "OpMode", s.OpMode, "1");
    VisitProcessing(s, v);
    VisitScaling(s.Scaling[0], 0, v);
    VisitScaling(s.Scaling[1], 1, v);
    VisitCalibration(s.Calibration[0], 0, v);
    VisitCalibration(s.Calibration[1], 1, v);
    VisitTrigger(s.Trigger, v);
    VisitRunControl(s.RunControl, v);
    VisitMarkers(s.Markers[0], 0, v);
    VisitMarkers(s.Markers[1], 1, v);
    VisitSeries(s.Series, v);
    VisitSpectrum(s.Spectrum[0], 0, v);
    VisitSpectrum(s.Spectrum[1], 1, v);
    VisitLogging(s.DataLog, v);
    VisitWindowSlots(s.Windows, v);
    VisitSigGen(s, v);
}
