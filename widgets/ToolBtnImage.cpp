#include "widgets/ToolBtnImage.h"

ToolBtnImage ChooseToolBtnImage(bool greyed, bool hasGreyBitmap, bool latched, bool pressed)
{
    if (greyed && hasGreyBitmap)
        return ToolBtnImage::Grey;
    if (latched || pressed)
        return ToolBtnImage::Down;
    return ToolBtnImage::Up;
}
