#include "utilities/SigGenBuildRelay.h"

SigGenBuildRelay::SigGenBuildRelay(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<TSigGenBuildResult>();
}
