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
    t.cx = 250;
    t.cy = 120;
    t.fontName = L"宋体";
    t.fontSize = 9;
    t.language = L"zh-CN";
    const DWORD tab = kStyleTabStop;
    const DWORD hidden = kStyleHidden;
    t.controls = {
        {2102, ControlKind::Picture, L"显示图块", 6, 6, 70, previewHeight, kStyleNotify | kStyleBorder},
        {IDC_STATIC, ControlKind::GroupBox, L"树形选择", 82, 3, 74, 60, kStyleGroup},
        {2081, ControlKind::RadioButton, L"点取本图图块", 88, 14, 64, 10, kStyleGroup | tab},
        {2082, ControlKind::RadioButton, L"从图库选取", 88, 26, 64, 10, 0},
        {2083, ControlKind::RadioButton, L"从文件选取", 88, 38, 64, 10, 0},
        {2097, ControlKind::PushButton, L"...", 88, 50, 64, 11, kStyleGroup | tab},
        {IDC_STATIC, ControlKind::GroupBox, L"树形参数", 160, 3, 84, 60, kStyleGroup},
        {2071, ControlKind::PushButton, L"树半径<", 165, 14, 34, 12, tab},
        {2073, ControlKind::Edit, L"", 202, 14, 38, 12, tab | kStyleBorder},
        {2072, ControlKind::PushButton, L"树间隔<", 165, 29, 34, 12, tab},
        {2074, ControlKind::Edit, L"", 202, 29, 38, 12, tab | kStyleBorder},
        {2075, ControlKind::CheckBox, L"随机旋转", 165, 46, 38, 10, tab},
        {2076, ControlKind::CheckBox, L"间距自调", 205, 46, 38, 10, tab},
        {2093, ControlKind::Static, L"树半径", 165, 16, 24, 8, hidden},
        {2087, ControlKind::Edit, L"", 190, 14, 22, 12, tab | kStyleBorder | hidden},
        {2095, ControlKind::Static, L"～", 213, 16, 6, 8, hidden},
        {2089, ControlKind::Edit, L"", 220, 14, 22, 12, tab | kStyleBorder | hidden},
        {2094, ControlKind::Static, L"树间距", 165, 31, 24, 8, hidden},
        {2088, ControlKind::Edit, L"", 190, 29, 22, 12, tab | kStyleBorder | hidden},
        {2096, ControlKind::Static, L"～", 213, 31, 6, 8, hidden},
        {2090, ControlKind::Edit, L"", 220, 29, 22, 12, tab | kStyleBorder | hidden},
        {2091, ControlKind::CheckBox, L"固定半径", 165, 46, 38, 10, tab | hidden},
        {2092, ControlKind::CheckBox, L"固定间距", 205, 46, 38, 10, tab | hidden},
        {IDC_STATIC, ControlKind::GroupBox, L"绘制方式", 82, 66, 162, 26, kStyleGroup},
        {2084, ControlKind::RadioButton, L"任意点取", 88, 77, 36, 10, kStyleGroup | tab},
        {2005, ControlKind::RadioButton, L"拖动绘制", 128, 77, 36, 10, 0},
        {2085, ControlKind::RadioButton, L"路径匹配", 168, 77, 36, 10, 0},
        {2086, ControlKind::RadioButton, L"成片布树", 206, 77, 36, 10, 0},
    };
    return t;
}

vorn::mfc::DialogTemplate MakeTreeDialogTemplate() { return MakeTreeDialog(2001, 86); }

}  // namespace

vorn::mfc::DialogTemplate MakeTreeDialogTwinTemplate() { return MakeTreeDialog(2003, 80); }

}  // namespace vorn::resources

VORN_DIALOG_TEMPLATE(2001, vorn::resources::MakeTreeDialogTemplate);
