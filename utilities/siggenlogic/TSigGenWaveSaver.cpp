#include "utilities/siggenlogic/TSigGenWaveSaver.h"

#include "audio/TWaveFile.h"

namespace {

// The target's folder, so that the final rename stays on one file system.
std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

bool TSigGenWaveSaver::Save(const TWaveData& wave, const std::string& path, int copies)
{
    TWaveFile file(wave.GetFormat(), false, FolderOf(path));
    if (file.Failed)
        return false;
    for (int i = 0; i < copies; ++i) {
        if (!file.WriteData(wave.GetBuffer(), wave.GetSizeBytes()))
            return false;
    }
    file.SetFileName(path);
    return file.Save();
}
