#include "utilities/siggenlogic/TSigGenTypeList.h"

#include "settings/SigGenSettings.h"

const std::array<TSigGenTypeEntry, 7>& TSigGenTypeList::QuickList()
{
    static const std::array<TSigGenTypeEntry, 7> list = {{
        {"1 kHz Tone", kSigTone1kHz},
        {"Multiple Tones", kSigMultipleTones},
        {"White Noise", kSigWhiteNoise},
        {"Pink Noise", kSigPinkNoise},
        {"Freq Step", kSigFreqStep},
        {"Freq Sweep", kSigFreqSweep},
        {"Level Sweep", kSigLevelSweep},
    }};
    return list;
}

TSigGenTypeList::Contents TSigGenTypeList::For(int channel, std::int32_t sigType, std::uint32_t outputChannels,
                                               bool locked)
{
    Contents contents;
    if (channel == 1 && (outputChannels == 1 || locked)) {
        contents.Entries.push_back({kNotApplicable, -1});
        contents.Selected = 0;
        return contents;
    }
    const auto& list = QuickList();
    contents.Entries.assign(list.begin(), list.end());
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].SigType == sigType)
            contents.Selected = static_cast<int>(i);
    }
    return contents;
}
