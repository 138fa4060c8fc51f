// Templates 2001 and 2003: the tree dialog "任意布树" (preview, block source, tree parameters
// or the area ranges over them, draw mode). 2003 differs only in its preview frame.
#include "resources/VornResources.h"

namespace vorn::resources {

namespace {

vorn::mfc::DialogTemplate MakeTreeDialog(int id, int previewHeight) {
    using vorn::mfc::ControlKind;
    using namespace vorn::mfc;  // style bits
    DialogTemplate t;
    t.id = id;
    t.caption = L"任意布树";
    t.cx = 300;  // wide enough for the labels in the dialog font
    t.cy = 120;
    t.fontName = L"宋体";
    t.fontSize = 9;
    t.language = L"zh-CN";
    const DWORD tab = kStyleTabStop;
    const DWORD hidden = kStyleHidden;
    t.controls = {
        {2102, ControlKind::Picture, L"显示图块", 6, 6, 70, previewHeight, kStyleNotify | kStyleBorder},
        {IDC_STATIC, ControlKind::GroupBox, L"树形选择", 82, 3, 80, 60, kStyleGroup},
        {2081, ControlKind::RadioButton, L"点取本图图块", 88, 14, 70, 10, kStyleGroup | tab},
        {2082, ControlKind::RadioButton, L"从图库选取", 88, 26, 70, 10, 0},
        {2083, ControlKind::RadioButton, L"从文件选取", 88, 38, 70, 10, 0},
        {2097, ControlKind::PushButton, L"...", 88, 50, 70, 11, kStyleGroup | tab},
        {IDC_STATIC, ControlKind::GroupBox, L"树形参数", 166, 3, 128, 60, kStyleGroup},
        {2071, ControlKind::PushButton, L"树半径<", 171, 14, 40, 12, tab},
        {2073, ControlKind::Edit, L"", 214, 14, 74, 12, tab | kStyleBorder},
        {2072, ControlKind::PushButton, L"树间隔<", 171, 29, 40, 12, tab},
        {2074, ControlKind::Edit, L"", 214, 29, 74, 12, tab | kStyleBorder},
        {2075, ControlKind::CheckBox, L"随机旋转", 171, 46, 56, 10, tab},
        {2076, ControlKind::CheckBox, L"间距自调", 230, 46, 58, 10, tab},
        {2093, ControlKind::Static, L"树半径", 171, 16, 28, 8, hidden},
        {2087, ControlKind::Edit, L"", 201, 14, 40, 12, tab | kStyleBorder | hidden},
        {2095, ControlKind::Static, L"～", 243, 16, 8, 8, hidden},
        {2089, ControlKind::Edit, L"", 252, 14, 38, 12, tab | kStyleBorder | hidden},
        {2094, ControlKind::Static, L"树间距", 171, 31, 28, 8, hidden},
        {2088, ControlKind::Edit, L"", 201, 29, 40, 12, tab | kStyleBorder | hidden},
        {2096, ControlKind::Static, L"～", 243, 31, 8, 8, hidden},
        {2090, ControlKind::Edit, L"", 252, 29, 38, 12, tab | kStyleBorder | hidden},
        {2091, ControlKind::CheckBox, L"固定半径", 171, 46, 56, 10, tab | hidden},
        {2092, ControlKind::CheckBox, L"固定间距", 230, 46, 58, 10, tab | hidden},
        {IDC_STATIC, ControlKind::GroupBox, L"绘制方式", 82, 66, 212, 26, kStyleGroup},
        {2084, ControlKind::RadioButton, L"任意点取", 88, 77, 50, 10, kStyleGroup | tab},
        {2005, ControlKind::RadioButton, L"拖动绘制", 140, 77, 50, 10, 0},
        {2085, ControlKind::RadioButton, L"路径匹配", 192, 77, 50, 10, 0},
        {2086, ControlKind::RadioButton, L"成片布树", 244, 77, 48, 10, 0},
    };
    return t;
}

vorn::mfc::DialogTemplate MakeTreeDialogTemplate() { return MakeTreeDialog(2001, 86); }

}  // namespace

vorn::mfc::DialogTemplate MakeTreeDialogTwinTemplate() { return MakeTreeDialog(2003, 80); }

}  // namespace vorn::resources

VORN_DIALOG_TEMPLATE(2001, vorn::resources::MakeTreeDialogTemplate);
