// Template 2000: the parking settings dialog "车位布置" (space width and depth with their
// exchange, angle, rows, style, the count label, and the schematic preview of one space).
#include "resources/VornResources.h"

namespace vorn::resources {

vorn::mfc::DialogTemplate MakeParkDialogTemplate() {
    using vorn::mfc::ControlKind;
    using namespace vorn::mfc;  // style bits
    DialogTemplate t;
    t.id = 2000;
    t.caption = L"车位布置";
    t.cx = 276;
    t.cy = 86;
    t.fontName = L"宋体";
    t.fontSize = 9;
    t.language = L"zh-CN";  // 2052
    const DWORD tab = kStyleTabStop;
    const DWORD combo = tab | kStyleVScroll;
    t.controls = {
        {2004, ControlKind::Picture, L"静态", 6, 6, 70, 74, kStyleBorder},
        {IDC_STATIC, ControlKind::Static, L"车位宽度：", 84, 10, 40, 8, 0},
        {2003, ControlKind::ComboDropDown, L"", 126, 8, 56, 60, combo},
        {IDC_STATIC, ControlKind::Static, L"车位深度：", 84, 28, 40, 8, 0},
        {2010, ControlKind::ComboDropDown, L"", 126, 26, 56, 60, combo},
        {2000, ControlKind::PushButton, L"交换", 188, 16, 30, 14, tab},
        {IDC_STATIC, ControlKind::Static, L"角度设置：", 84, 46, 40, 8, 0},
        {2007, ControlKind::ComboDropDown, L"", 126, 44, 56, 60, combo},
        {IDC_STATIC, ControlKind::Static, L"车位排数：", 188, 46, 40, 8, 0},
        {2008, ControlKind::ComboDropList, L"", 228, 44, 42, 60, combo},
        {IDC_STATIC, ControlKind::Static, L"车位样式：", 84, 64, 40, 8, 0},
        {2009, ControlKind::ComboDropList, L"", 126, 62, 56, 60, combo},
        {2001, ControlKind::CheckBox, L"标车位数", 188, 64, 48, 10, tab},
    };
    return t;
}

}  // namespace vorn::resources

VORN_DIALOG_TEMPLATE(2000, vorn::resources::MakeParkDialogTemplate);
