#pragma once
// Saves the generator's signal as a wave file holding it `copies` times
// over. The file is written beside the target and renamed onto it only
// when every write succeeded, so the operator's file is never left half
// written; the wave file reports its own failures.

#include <string>

class TWaveData;

class TSigGenWaveSaver {
public:
    static bool Save(const TWaveData& wave, const std::string& path, int copies);
};
