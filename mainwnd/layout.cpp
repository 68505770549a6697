#include "mainwnd/layout.h"

#include "app/dpiscale.h"

namespace {
const int kStripHeight = 25;
const int kButtonSize = 50;
const int kButtonRise = 60;        // from the strip up to the buttons' top edge
// The four buttons and room for the editor's scroll bar; what is left of the
// width is shared by the five gaps before, between and after the buttons.
const int kButtonsAndScrollBar = 218;
const int kGaps = 5;
const int kPinSize = 16;
const int kPinInset = 20;
}  // namespace

MainLayout ComputeMainLayout(int width, int height)
{
    const int editHeight = height - kStripHeight;
    // C++ division truncates toward zero, which places the buttons of a
    // narrow window as intended (width 200 gives -3, not -4).
    const int x0 = (width - kButtonsAndScrollBar) / kGaps;
    const int step = x0 + kButtonSize;

    MainLayout layout = {};
    layout.edit = {0, 0, width, editHeight};
    for (int i = 0; i < 4; ++i) layout.buttons[i] = {x0 + i * step, editHeight - kButtonRise, kButtonSize, kButtonSize};
    layout.list = {0, editHeight, 210, kStripHeight};
    layout.startup = {220, editHeight, 75, kStripHeight};
    layout.shortcut = {295, editHeight, 85, kStripHeight};
    layout.pin = {width - kPinInset, height - kPinInset, kPinSize, kPinSize};
    return layout;
}

ChildBox ScaleBox(const ChildBox& box, int dpi)
{
    const int left = ScaleForDpi(box.x, dpi);
    const int top = ScaleForDpi(box.y, dpi);
    return {left, top, ScaleForDpi(box.x + box.width, dpi) - left, ScaleForDpi(box.y + box.height, dpi) - top};
}

namespace {
ChildBox ScalePictureBox(const ChildBox& box, int dpi)
{
    return {ScaleForDpi(box.x, dpi), ScaleForDpi(box.y, dpi), ScaleForDpi(box.width, dpi),
            ScaleForDpi(box.height, dpi)};
}
}  // namespace

MainLayout ScaleLayout(const MainLayout& layout, int dpi)
{
    MainLayout scaled = {};
    scaled.edit = ScaleBox(layout.edit, dpi);
    for (int i = 0; i < 4; ++i) scaled.buttons[i] = ScalePictureBox(layout.buttons[i], dpi);
    scaled.list = ScaleBox(layout.list, dpi);
    scaled.startup = ScaleBox(layout.startup, dpi);
    scaled.shortcut = ScaleBox(layout.shortcut, dpi);
    scaled.pin = ScalePictureBox(layout.pin, dpi);
    return scaled;
}

LayoutPoint CenterSettingWnd(int left, int top, int right, int bottom, int dpi)
{
    const int width = ScaleForDpi(kSettingWndWidth, dpi);
    const int height = ScaleForDpi(kSettingWndHeight, dpi);
    return {left + (right - left - width) / 2, top + (bottom - top - height) / 2};
}
