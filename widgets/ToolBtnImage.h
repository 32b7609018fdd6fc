#pragma once
// Which of a tool button's three bitmaps a paint shows.

enum class ToolBtnImage { Up, Down, Grey };

// Grey wins over everything when the button has a grey bitmap; a latched
// button shows down whatever the mouse does; otherwise down only while the
// mouse holds it pressed.
ToolBtnImage ChooseToolBtnImage(bool greyed, bool hasGreyBitmap, bool latched, bool pressed);
