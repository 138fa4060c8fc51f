// Template 2006: the legend dialog "总平图例" (the legend directory's symbols, a preview, and
// the ordered selection), and 2007, a taller copy of it that no command opens.
#include "resources/VornResources.h"

namespace vorn::resources {

vorn::mfc::DialogTemplate MakeLegendDialogTemplate(int id, int height, int listHeight) {
    using vorn::mfc::ControlKind;
    using namespace vorn::mfc;  // style bits
    DialogTemplate t;
    t.id = id;
    t.caption = L"总平图例";
    t.cx = 278;
    t.cy = height;
    t.fontName = L"宋体";
    t.fontSize = 9;
    t.language = L"zh-CN";  // 2052
    const DWORD tab = kStyleTabStop;
    const DWORD list = kStyleBorder | kStyleVScroll | tab | kStyleNotify | kStyleNoIntegralHeight;
    t.controls = {
        {IDC_STATIC, ControlKind::Static, L"选择图例：", 7, 11, 41, 8, 0},
        {2028, ControlKind::ListBox, L"", 7, 25, 92, listHeight + 1, list},
        {2027, ControlKind::Picture, L"静态", 103, 27, 72, 44, kStyleBorder},
        {2025, ControlKind::PushButton, L"添加 >>", 109, 106, 58, 16, tab},
        {2026, ControlKind::PushButton, L"删除 <<", 109, 127, 58, 16, tab},
        {IDC_STATIC, ControlKind::Static, L"图例列表：", 179, 11, 41, 8, 0},
        {2029, ControlKind::DragListBox, L"", 179, 25, 92, listHeight, list},
    };
    return t;
}

namespace {
vorn::mfc::DialogTemplate MakeLegendDialog2006() { return MakeLegendDialogTemplate(2006, 150, 117); }
}  // namespace

}  // namespace vorn::resources

VORN_DIALOG_TEMPLATE(2006, vorn::resources::MakeLegendDialog2006);
