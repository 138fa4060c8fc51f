// Template 2004: the road settings dialog "道路绘制" (widths, centre line, junction fillets,
// positioning line).
#include "resources/VornResources.h"

namespace vorn::resources {

vorn::mfc::DialogTemplate MakeRoadDialogTemplate() {
    using vorn::mfc::ControlKind;
    using namespace vorn::mfc;  // style bits
    DialogTemplate t;
    t.id = 2004;
    t.caption = L"道路绘制";
    t.cx = 231;
    t.cy = 66;
    t.fontName = L"宋体";
    t.fontSize = 9;
    t.language = L"zh-CN";  // 2052
    const DWORD tab = kStyleTabStop;
    t.controls = {
        {IDC_STATIC, ControlKind::Static, L"左宽：", 8, 8, 24, 8, 0},
        {2005, ControlKind::Edit, L"", 33, 6, 36, 12, tab | kStyleBorder},
        {IDC_STATIC, ControlKind::Static, L"右宽：", 8, 27, 24, 8, 0},
        {2006, ControlKind::Edit, L"", 33, 25, 36, 12, tab | kStyleBorder},
        {2007, ControlKind::CheckBox, L"道路中心线", 8, 46, 56, 10, tab},
        {IDC_STATIC, ControlKind::GroupBox, L"", 76, 7, 90, 52, kStyleGroup},
        {2020, ControlKind::CheckBox, L"道路倒角", 81, 6, 48, 10, tab},
        {2018, ControlKind::RadioButton, L"同圆心", 82, 24, 38, 10, kStyleGroup | tab},
        {2019, ControlKind::RadioButton, L"同半径", 124, 24, 38, 10, 0},
        {2021, ControlKind::Static, L"倒角半径：", 82, 44, 40, 8, kStyleGroup},
        {2010, ControlKind::Edit, L"", 123, 42, 36, 12, tab | kStyleBorder},
        {IDC_STATIC, ControlKind::GroupBox, L"定位线位置", 170, 3, 54, 56, kStyleGroup},
        {2015, ControlKind::RadioButton, L"基线", 178, 16, 40, 10, kStyleGroup | tab},
        {2016, ControlKind::RadioButton, L"左边线", 178, 29, 40, 10, 0},
        {2017, ControlKind::RadioButton, L"右边线", 178, 42, 40, 10, 0},
    };
    return t;
}

}  // namespace vorn::resources

VORN_DIALOG_TEMPLATE(2004, vorn::resources::MakeRoadDialogTemplate);
