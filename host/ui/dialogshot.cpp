// Dialog pictures: the frame, caption bar and controls drawn as a classic dialog shows them, at
// the dialog-unit layout, with Cairo into PNG, SVG or PDF, texts in a CJK font.
#include "host/ui/dialogshot.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "host/base/textcodec.h"

using vorn::mfc::ControlKind;

namespace vorn::ui {

namespace {

constexpr const char* kFont = "WenQuanYi Micro Hei";
constexpr double kFontPixels = 12.0;  // 9 points at 96 dots per inch
constexpr double kRowPixels = 15.0;   // list rows
constexpr double kComboPixels = 21.0; // a closed combo box, whatever its dropped-down height

struct Rgb {
  double r, g, b;
};
constexpr Rgb kFace{0.831, 0.816, 0.784};     // button face
constexpr Rgb kShadow{0.502, 0.502, 0.502};
constexpr Rgb kDarkShadow{0.251, 0.251, 0.251};
constexpr Rgb kLight{1, 1, 1};
constexpr Rgb kWindow{1, 1, 1};
constexpr Rgb kText{0, 0, 0};
constexpr Rgb kGrayText{0.502, 0.502, 0.502};
constexpr Rgb kHighlight{0.039, 0.141, 0.416};
constexpr Rgb kCaptionLeft{0.039, 0.141, 0.416};
constexpr Rgb kCaptionRight{0.651, 0.792, 0.941};

void Color(cairo_t* cr, const Rgb& c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

void Fill(cairo_t* cr, double x, double y, double w, double h, const Rgb& c) {
  Color(cr, c);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
}

void Line(cairo_t* cr, double x0, double y0, double x1, double y1, const Rgb& c) {
  Color(cr, c);
  cairo_set_line_width(cr, 1.0);
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_stroke(cr);
}

// Classic 3D edges: raised for buttons and the frame, sunken for fields.
void Edge(cairo_t* cr, double x, double y, double w, double h, bool raised) {
  const double l = x + 0.5, t = y + 0.5, r = x + w - 0.5, b = y + h - 0.5;
  Line(cr, l, b, l, t, raised ? kLight : kShadow);
  Line(cr, l, t, r, t, raised ? kLight : kShadow);
  Line(cr, r, t, r, b, raised ? kDarkShadow : kLight);
  Line(cr, l, b, r, b, raised ? kDarkShadow : kLight);
  if (w > 4 && h > 4) {
    Line(cr, l + 1, b - 1, l + 1, t + 1, raised ? kFace : kDarkShadow);
    Line(cr, l + 1, t + 1, r - 1, t + 1, raised ? kFace : kDarkShadow);
    Line(cr, r - 1, t + 1, r - 1, b - 1, raised ? kShadow : kFace);
    Line(cr, l + 1, b - 1, r - 1, b - 1, raised ? kShadow : kFace);
  }
}

double TextWidth(cairo_t* cr, const std::string& utf8) {
  cairo_text_extents_t e;
  cairo_text_extents(cr, utf8.c_str(), &e);
  return e.x_advance;
}

enum class Align { Left, Center, Right };

// One line of text, vertically centred in the box and clipped to it; disabled text is embossed.
void Text(cairo_t* cr, const std::wstring& text, double x, double y, double w, double h, Align align,
          const Rgb& color, bool disabled = false) {
  if (text.empty() || w <= 0 || h <= 0) return;
  std::wstring shown = text;
  const size_t newline = shown.find(L'\n');
  if (newline != std::wstring::npos) shown.resize(newline);
  // '&' marks a mnemonic on this platform and is not shown; "&&" is a literal '&'.
  std::wstring plain;
  for (size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] == L'&' && i + 1 < shown.size()) ++i;
    plain += shown[i];
  }
  const std::string utf8 = ToUtf8(plain);
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  const double width = TextWidth(cr, utf8);
  double tx = x;
  if (align == Align::Center) tx = x + (w - width) / 2;
  else if (align == Align::Right) tx = x + w - width;
  const double ty = y + (h - (fe.ascent + fe.descent)) / 2 + fe.ascent;
  if (disabled) {
    Color(cr, kLight);
    cairo_move_to(cr, tx + 1, ty + 1);
    cairo_show_text(cr, utf8.c_str());
  }
  Color(cr, disabled ? kGrayText : color);
  cairo_move_to(cr, tx, ty);
  cairo_show_text(cr, utf8.c_str());
  cairo_restore(cr);
}

void DrawField(cairo_t* cr, const HWND__* c, double x, double y, double w, double h) {
  const bool grey = !c->enabled || (c->style & vorn::mfc::kStyleReadOnly);
  Fill(cr, x, y, w, h, grey ? kFace : kWindow);
  Edge(cr, x, y, w, h, false);
  Text(cr, c->text, x + 4, y + 2, w - 8, c->style & vorn::mfc::kStyleMultiline ? kRowPixels : h - 4, Align::Left,
       kText, !c->enabled);
}

void DrawArrowButton(cairo_t* cr, double x, double y, double w, double h, bool enabled) {
  Fill(cr, x, y, w, h, kFace);
  Edge(cr, x, y, w, h, true);
  const double cx = x + w / 2, cy = y + h / 2;
  Color(cr, enabled ? kText : kGrayText);
  cairo_move_to(cr, cx - 4, cy - 2);
  cairo_line_to(cr, cx + 4, cy - 2);
  cairo_line_to(cr, cx, cy + 2);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void DrawCombo(cairo_t* cr, const HWND__* c, double x, double y, double w, double h) {
  h = std::min(h, kComboPixels);
  Fill(cr, x, y, w, h, c->enabled ? kWindow : kFace);
  Edge(cr, x, y, w, h, false);
  const double arrow = std::min(h - 4, 17.0);
  DrawArrowButton(cr, x + w - 2 - arrow, y + 2, arrow, h - 4, c->enabled);
  Text(cr, c->text, x + 4, y + 2, w - arrow - 8, h - 4, Align::Left, kText, !c->enabled);
}

void DrawList(cairo_t* cr, const HWND__* c, double x, double y, double w, double h) {
  Fill(cr, x, y, w, h, c->enabled ? kWindow : kFace);
  Edge(cr, x, y, w, h, false);
  cairo_save(cr);
  cairo_rectangle(cr, x + 2, y + 2, w - 4, h - 4);
  cairo_clip(cr);
  double ry = y + 2;
  for (size_t r = 0; r < c->rows.size() && ry < y + h - 2; ++r, ry += kRowPixels) {
    const bool selected = static_cast<int>(r) == c->curSel;
    if (selected) Fill(cr, x + 2, ry, w - 4, kRowPixels, c->enabled ? kHighlight : kShadow);
    Text(cr, c->rows[r], x + 4, ry, w - 8, kRowPixels, Align::Left, selected ? kLight : kText,
         !c->enabled && !selected);
  }
  cairo_restore(cr);
}

void DrawButton(cairo_t* cr, const HWND__* c, double x, double y, double w, double h) {
  Fill(cr, x, y, w, h, kFace);
  if (c->style & vorn::mfc::kStyleDefault) {
    Color(cr, kText);
    cairo_rectangle(cr, x + 0.5, y + 0.5, w - 1, h - 1);
    cairo_stroke(cr);
    Edge(cr, x + 1, y + 1, w - 2, h - 2, true);
  } else {
    Edge(cr, x, y, w, h, true);
  }
  Text(cr, c->text, x + 3, y + 2, w - 6, h - 4, Align::Center, kText, !c->enabled);
}

void DrawCheck(cairo_t* cr, const HWND__* c, double x, double y, double w, double h) {
  const double box = 13, by = y + (h - box) / 2;
  const bool right = (c->style & vorn::mfc::kStyleRightText) != 0;  // box on the right
  const double bx = right ? x + w - box : x;
  Fill(cr, bx, by, box, box, c->enabled ? kWindow : kFace);
  Edge(cr, bx, by, box, box, false);
  if (c->check == BST_CHECKED) {
    Color(cr, c->enabled ? kText : kGrayText);
    cairo_set_line_width(cr, 2.0);
    cairo_move_to(cr, bx + 3, by + 6.5);
    cairo_line_to(cr, bx + 5.5, by + 9);
    cairo_line_to(cr, bx + 10, by + 3.5);
    cairo_stroke(cr);
  }
  Text(cr, c->text, right ? x : x + box + 4, y, w - box - 4, h, Align::Left, kText, !c->enabled);
}

void DrawRadio(cairo_t* cr, const HWND__* c, double x, double y, double w, double h) {
  const double d = 12, cx = x + d / 2, cy = y + h / 2;
  Color(cr, c->enabled ? kWindow : kFace);
  cairo_arc(cr, cx, cy, d / 2, 0, 2 * M_PI);
  cairo_fill(cr);
  Color(cr, kShadow);
  cairo_set_line_width(cr, 1.0);
  cairo_arc(cr, cx, cy, d / 2 - 0.5, 0, 2 * M_PI);
  cairo_stroke(cr);
  if (c->check == BST_CHECKED) {
    Color(cr, c->enabled ? kText : kGrayText);
    cairo_arc(cr, cx, cy, 2.5, 0, 2 * M_PI);
    cairo_fill(cr);
  }
  Text(cr, c->text, x + d + 4, y, w - d - 4, h, Align::Left, kText, !c->enabled);
}

void DrawGroup(cairo_t* cr, const HWND__* c, double x, double y, double w, double h) {
  const double top = y + kFontPixels / 2;
  // Etched: a shadow line with a light line inside it.
  Color(cr, kShadow);
  cairo_set_line_width(cr, 1.0);
  cairo_rectangle(cr, x + 0.5, top + 0.5, w - 2, h - (top - y) - 2);
  cairo_stroke(cr);
  Color(cr, kLight);
  cairo_rectangle(cr, x + 1.5, top + 1.5, w - 2, h - (top - y) - 2);
  cairo_stroke(cr);
  if (!c->text.empty()) {
    const double tw = std::min(TextWidth(cr, ToUtf8(c->text)) + 4, w - 12);
    Fill(cr, x + 7, y, tw, kFontPixels + 2, kFace);
    Text(cr, c->text, x + 9, y, tw - 2, kFontPixels + 2, Align::Left, kText, !c->enabled);
  }
}

void DrawStatic(cairo_t* cr, const HWND__* c, double x, double y, double w, double h) {
  if (c->paint) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    c->paint(cr, x, y, w, h);
    cairo_restore(cr);
  } else if (c->kind == ControlKind::Picture) {
    Edge(cr, x, y, w, h, false);
  } else {
    const Align align = (c->style & vorn::mfc::kStyleCenter) ? Align::Center
                        : (c->style & vorn::mfc::kStyleRightText) ? Align::Right : Align::Left;
    Text(cr, c->text, x, y, w, std::min(h, kFontPixels + 4), align, kText, !c->enabled);
  }
  if (c->style & vorn::mfc::kStyleBorder) Edge(cr, x, y, w, h, false);
}

void DrawControl(cairo_t* cr, const HWND__* c, double ox, double oy) {
  const double x = ox + c->x * vorn::mfc::kDluToPixelX, y = oy + c->y * vorn::mfc::kDluToPixelY;
  const double w = c->cx * vorn::mfc::kDluToPixelX, h = c->cy * vorn::mfc::kDluToPixelY;
  switch (c->kind) {
    case ControlKind::Edit: DrawField(cr, c, x, y, w, h); break;
    case ControlKind::ComboDropDown:
    case ControlKind::ComboDropList: DrawCombo(cr, c, x, y, w, h); break;
    case ControlKind::ListBox:
    case ControlKind::DragListBox: DrawList(cr, c, x, y, w, h); break;
    case ControlKind::PushButton: DrawButton(cr, c, x, y, w, h); break;
    case ControlKind::CheckBox: DrawCheck(cr, c, x, y, w, h); break;
    case ControlKind::RadioButton: DrawRadio(cr, c, x, y, w, h); break;
    case ControlKind::GroupBox: DrawGroup(cr, c, x, y, w, h); break;
    case ControlKind::Static:
    case ControlKind::Picture: DrawStatic(cr, c, x, y, w, h); break;
    case ControlKind::Dialog:
    case ControlKind::Frame: break;
  }
}

void DrawCaption(cairo_t* cr, const HWND__* dialog, double width) {
  const double x = kFrameWidth, y = kFrameWidth, w = width - 2 * kFrameWidth, h = kCaptionHeight - 2;
  cairo_pattern_t* g = cairo_pattern_create_linear(x, 0, x + w, 0);
  cairo_pattern_add_color_stop_rgb(g, 0, kCaptionLeft.r, kCaptionLeft.g, kCaptionLeft.b);
  cairo_pattern_add_color_stop_rgb(g, 1, kCaptionRight.r, kCaptionRight.g, kCaptionRight.b);
  cairo_set_source(cr, g);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // The close box.
  const double bs = h - 4, bx = x + w - bs - 2, by = y + 2;
  Fill(cr, bx, by, bs, bs, kFace);
  Edge(cr, bx, by, bs, bs, true);
  Color(cr, kText);
  cairo_set_line_width(cr, 1.6);
  cairo_move_to(cr, bx + 4, by + 4);
  cairo_line_to(cr, bx + bs - 4, by + bs - 4);
  cairo_move_to(cr, bx + bs - 4, by + 4);
  cairo_line_to(cr, bx + 4, by + bs - 4);
  cairo_stroke(cr);
  cairo_save(cr);
  cairo_select_font_face(cr, kFont, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  Text(cr, dialog->text, x + 4, y, bx - x - 8, h, Align::Left, kLight);
  cairo_restore(cr);
}

void DrawDialog(cairo_t* cr, const HWND__* dialog, double width, double height) {
  Fill(cr, 0, 0, width, height, kFace);
  Edge(cr, 0, 0, width, height, true);
  DrawCaption(cr, dialog, width);
  cairo_select_font_face(cr, kFont, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, kFontPixels);
  const double ox = kFrameWidth, oy = kFrameWidth + kCaptionHeight;
  cairo_save(cr);
  cairo_rectangle(cr, ox, oy, width - 2 * kFrameWidth, height - oy - kFrameWidth);
  cairo_clip(cr);
  // Group boxes first, so that the controls inside them are drawn over their frames.
  for (const auto& c : dialog->children)
    if (c->visible && c->kind == ControlKind::GroupBox) DrawControl(cr, c.get(), ox, oy);
  for (const auto& c : dialog->children)
    if (c->visible && c->kind != ControlKind::GroupBox) DrawControl(cr, c.get(), ox, oy);
  cairo_restore(cr);
}

std::string Extension(const std::string& file) {
  const size_t dot = file.rfind('.');
  const size_t slash = file.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  std::string ext = file.substr(dot + 1);
  for (auto& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return ext;
}

}  // namespace

bool DrawDialogPicture(HWND dialog, const std::string& file, std::wstring& error) {
  const std::wstring name = FromUtf8(file);
  if (!vorn::mfc::IsLiveWindow(dialog)) {
    error = L"No dialog is open to draw into \"" + name + L"\".";
    return false;
  }
  const std::string ext = Extension(file);
  if (ext != "png" && ext != "svg" && ext != "pdf") {
    error = L"Cannot draw the dialog into \"" + name + L"\": the file name must end in .png, .svg or .pdf.";
    return false;
  }
  const double width = std::ceil(dialog->cx * vorn::mfc::kDluToPixelX + 2 * kFrameWidth);
  const double height = std::ceil(dialog->cy * vorn::mfc::kDluToPixelY + kCaptionHeight + 2 * kFrameWidth);
  // Vector files are written to a temporary name and renamed, so a failure leaves no half file.
  const std::string temporary = file + ".tmp";
  cairo_surface_t* surface = nullptr;
  if (ext == "png") surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width), static_cast<int>(height));
  else if (ext == "svg") surface = cairo_svg_surface_create(temporary.c_str(), width, height);
  else surface = cairo_pdf_surface_create(temporary.c_str(), width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    error = L"Cannot write the dialog picture \"" + name + L"\": " + FromUtf8(cairo_status_to_string(cairo_surface_status(surface))) + L".";
    cairo_surface_destroy(surface);
    std::remove(temporary.c_str());
    return false;
  }
  cairo_t* cr = cairo_create(surface);
  DrawDialog(cr, dialog, width, height);
  cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  if (status == CAIRO_STATUS_SUCCESS && ext == "png") status = cairo_surface_write_to_png(surface, temporary.c_str());
  cairo_surface_finish(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS || std::rename(temporary.c_str(), file.c_str()) != 0) {
    std::remove(temporary.c_str());
    error = L"Cannot write the dialog picture \"" + name + L"\": " +
            (status != CAIRO_STATUS_SUCCESS ? FromUtf8(cairo_status_to_string(status)) : std::wstring(L"the file cannot be created")) + L".";
    return false;
  }
  return true;
}

}  // namespace vorn::ui
