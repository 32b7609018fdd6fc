#pragma once
// The one way the bars reach the main frame's commands.

#include "app/FrameCommand.h"

class FrameCommandTarget {
public:
    virtual void ExecuteCommand(FrameCommand command) = 0;

protected:
    ~FrameCommandTarget() = default;
};
