#include "settings/FileIOOpts.h"

void FileIOOpts::ApplyFixedValues()
{
    *this = FileIOOpts();
    MakeBackup = 0;
    AutoReopenOnLaunch = 0;
}
