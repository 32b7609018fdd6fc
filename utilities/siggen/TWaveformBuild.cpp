#include "utilities/siggen/TWaveformBuild.h"

#include <algorithm>

#include "platform/Trace.h"
#include "settings/TextField.h"
#include "utilities/siggen/TSigGenAmplitude.h"
#include "utilities/siggen/TSigGenLength.h"
#include "utilities/siggen/TSigGenRandom.h"
#include "utilities/siggen/TSigGenerator.h"

namespace {

const char* const kChannelNames[2] = {"left", "right"};

std::string RefusedMessage(int channel)
{
    return std::string("Generator - the ") + kChannelNames[channel]
         + " channel's signal settings are out of range for the output format; the channel stays silent.";
}

} // namespace

TWaveformBuild::TWaveformBuild(const TSigGenBuildRequest& request, std::shared_ptr<const TPinkWave> pink,
                               std::uint64_t buildId)
    : Request(request), Pink(std::move(pink)), BuildId(buildId)
{
    OpenUserFiles();
    const TUserWave* const user[2] = {User[0].get(), User[1].get()};
    Format = TSigGenOutputFormat::Choose(Request, user);

    const TWaveFormat output = Format.GetWaveFormat();
    const std::uint64_t pinkWords = Pink ? Pink->GetLoopWords() : 0;
    const auto lengthOf = [&](int c) {
        const bool playable = User[c] && !Format.UserFileRefused[c];
        return TSigGenLength::GetChannelLength(Request.Channel[c], output, pinkWords,
                                               playable ? User[c]->GetNumFrames() : 0);
    };
    std::uint64_t n = lengthOf(0);
    if (Format.Channels > 1)
        n = std::max(n, lengthOf(1));
    // Only files that cannot play give no length: a second of silence.
    if (n == 0)
        n = output.GetSampleRate();
    BufferFrames = n % 2 == 1 ? n + 1 : n;
}

TSigGenOutputFormat TWaveformBuild::PreviewOutputFormat(const TSigGenBuildRequest& request)
{
    return TWaveformBuild(request, nullptr).GetOutputFormat();
}

void TWaveformBuild::OpenUserFiles()
{
    const bool rightPlays = Request.AnalyzerFormat.GetChannels() == 2 && Request.LockSignalGeneratorChannels == 0;
    for (int c = 0; c < (rightPlays ? 2 : 1); ++c) {
        const SigGenChannelSettings& s = Request.Channel[c];
        if (s.SigType == kSigUserWave)
            User[c] = std::make_unique<TUserWave>(std::string(TextFieldView(s.UserDefined.WaveFileName)));
    }
}

std::unique_ptr<TWaveData> TWaveformBuild::Run(const std::atomic<bool>& cancel, TSigGenBuildListener* listener,
                                               TSigGenBuildResult& result)
{
    platform::Trace("AfxBuildWaveform Starting\n");
    result = TSigGenBuildResult{};
    result.BuildId = BuildId;
    result.Messages = Format.Messages;
    result.Status = TSigGenBuildStatus::Cancelled;
    if (cancel.load())
        return nullptr;

    auto wave = std::make_unique<TWaveData>(BufferFrames, Format.GetWaveFormat());
    if (wave->Failed != 0 || wave->GetNumFrames() == 0) {
        result.Status = TSigGenBuildStatus::OutOfMemory;
        result.Messages.push_back(kMemoryMessage);
        return nullptr;
    }
    wave->Clear();

    TSigGenRandom random;
    TSigGenerator generator(*wave, random, cancel, listener, Pink.get());
    SigGenOutputSettings output = Request.Output;
    for (int c = 0; c < static_cast<int>(Format.Channels); ++c) {
        if (cancel.load())
            return nullptr;
        const double A = TSigGenAmplitude::GetChannelAmplitude(output, c);
        const SigGenChannelSettings settings = Request.Channel[c];
        // Silence needs no building: the buffer was cleared to it.
        if (A <= 0.0 || (settings.SigType == kSigUserWave && Format.UserFileRefused[c]))
            continue;
        const TSigGenerator::Outcome outcome = generator.Generate(settings, c, A, User[c].get());
        if (outcome == TSigGenerator::Outcome::Cancelled)
            return nullptr;
        if (outcome == TSigGenerator::Outcome::Refused) {
            if (settings.SigType == kSigUserWave && User[c])
                result.Messages.push_back(User[c]->FailureMessage());
            else
                result.Messages.push_back(RefusedMessage(c));
        }
    }

    // The samples were written in place; mark the whole buffer as data (the
    // one-shot timer plays for its length) by storing the last sample again.
    const std::uint64_t last = wave->GetNumFrames() - 1;
    wave->SetPosition(last);
    wave->PutSample(static_cast<std::int32_t>(wave->GetSample(last, 0, false)), last, 0);
    wave->Rewind();
    result.Status = TSigGenBuildStatus::Completed;
    return wave;
}
