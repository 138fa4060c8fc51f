// Dialog pictures: the PNG is written with its caption bar, the preview's paint handler gets the
// control's rectangle in pixels, and SVG/PDF come from the same drawing.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include "host/ui/dialogevents.h"
#include "host/ui/dialogshot.h"
#include "testdialog.h"

using namespace vorn::test;

namespace {

std::string OutFile(const std::string& name) {
  const auto dir = std::filesystem::path(VORN_BINARY_DIR) / "test-output" / "host-ui";
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

}  // namespace

TEST(DialogShot, PngHasTheCaptionBarAndCallsThePaintHandler) {
  DialogFixture f;
  TestDialog d;
  ASSERT_TRUE(d.Create(kDialogId, acedGetAcadFrame()));
  d.ShowWindow(SW_SHOW);
  ::EnableWindow(::GetDlgItem(d.m_hWnd, kButton), FALSE);
  double px = -1, py = -1, pw = -1, ph = -1;
  CStatic preview;
  ASSERT_TRUE(preview.SubclassDlgItem(kPreview, &d));
  preview.SetPaintHandler([&](cairo_t* cr, double x, double y, double w, double h) {
    px = x, py = y, pw = w, ph = h;
    cairo_set_source_rgb(cr, 0, 1, 0);
    cairo_paint(cr);  // clipped to the control by the caller
  });
  const std::string file = OutFile("dialog.png");
  std::remove(file.c_str());
  vorn::ui::DialogEvent event{};
  event.kind = vorn::ui::DialogEvent::Kind::DialogShot;
  event.file = file;
  std::wstring output;
  ASSERT_TRUE(vorn::ui::DispatchDialogEvent(event, output)) << std::string(output.begin(), output.end());
  EXPECT_GT(std::filesystem::file_size(file), 1000u);

  const double left = vorn::ui::kFrameWidth, top = vorn::ui::kFrameWidth + vorn::ui::kCaptionHeight;
  EXPECT_DOUBLE_EQ(px, left + 40 * vorn::mfc::kDluToPixelX);
  EXPECT_DOUBLE_EQ(py, top + 85 * vorn::mfc::kDluToPixelY);
  EXPECT_DOUBLE_EQ(pw, 40 * vorn::mfc::kDluToPixelX);
  EXPECT_DOUBLE_EQ(ph, 30 * vorn::mfc::kDluToPixelY);

  cairo_surface_t* png = cairo_image_surface_create_from_png(file.c_str());
  ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(png), static_cast<int>(200 * vorn::mfc::kDluToPixelX + 2 * left));
  const unsigned char* data = cairo_image_surface_get_data(png);
  const int stride = cairo_image_surface_get_stride(png);
  auto pixel = [&](int x, int y) {
    const auto* p = data + y * stride + x * 4;  // BGRA in memory on little-endian
    return std::array<int, 3>{p[2], p[1], p[0]};
  };
  // Near the left of the caption bar: dark blue.
  const auto caption = pixel(6, 6);
  EXPECT_LT(caption[0], 60);
  EXPECT_GT(caption[2], 80);
  // Inside the preview: the handler's green.
  const auto inside = pixel(static_cast<int>(px + pw / 2), static_cast<int>(py + ph / 2));
  EXPECT_EQ(inside[1], 255);
  EXPECT_EQ(inside[0], 0);
  // The client area's face colour below the caption.
  const auto face = pixel(static_cast<int>(left + 2), static_cast<int>(top + 118 * vorn::mfc::kDluToPixelY));
  EXPECT_NEAR(face[0], 212, 2);
  EXPECT_NEAR(face[1], 208, 2);
  EXPECT_NEAR(face[2], 200, 2);
  cairo_surface_destroy(png);
}

TEST(DialogShot, VectorFormatsAndUnwritablePaths) {
  DialogFixture f;
  TestDialog d;
  ASSERT_TRUE(d.Create(kDialogId, acedGetAcadFrame()));
  std::wstring error;
  for (const char* name : {"dialog.svg", "dialog.pdf"}) {
    const std::string file = OutFile(name);
    ASSERT_TRUE(vorn::ui::DrawDialogPicture(d.m_hWnd, file, error)) << name;
    EXPECT_GT(std::filesystem::file_size(file), 500u);
    EXPECT_FALSE(std::filesystem::exists(file + ".tmp"));
  }
  EXPECT_FALSE(vorn::ui::DrawDialogPicture(d.m_hWnd, "/nonexistent-dir/x.png", error));
  EXPECT_NE(error.find(L"/nonexistent-dir/x.png"), std::wstring::npos);
  EXPECT_FALSE(vorn::ui::DrawDialogPicture(d.m_hWnd, "/nonexistent-dir/x.svg", error));
}

// Cairo and fontconfig keep font caches for the life of the process; freeing them at the end lets
// the leak checker see only leaks of our own.
namespace {
struct FontCachesReleased : ::testing::Environment {
  void TearDown() override {
    cairo_debug_reset_static_data();
    FcFini();
  }
};
const auto* const kFontCaches = ::testing::AddGlobalTestEnvironment(new FontCachesReleased);
}  // namespace
