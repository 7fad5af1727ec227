// What the parent draws and what the gauge draws, read back pixel by pixel.
#include <gtest/gtest.h>

#include "ToolkitTestSupport.h"
#include "toolkit/Resources.h"

namespace toolkit_test {
namespace {

using namespace tsaver::tk;

constexpr COLORREF kNavy = RGB(0, 0, 128), kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);
constexpr COLORREF inverse(COLORREF c) { return c ^ 0x00FFFFFF; }

class PaintForm : public Form {
 public:
  explicit PaintForm(Application& app) : Form(app, "frmPaint") {
    setBorderStyle(BorderStyle::Dialog);
    setClientSize(420, 220);
    setColor(clSilver);
    Img_back = add<Image>("Img_back");
    Img_back->setBounds({0, 0, 97, 179});
    Img_back->setBitmap(res::kSkyBarBitmap);
    shape = add<Shape>("shape");
    shape->setBounds({110, 100, 30, 20});
    shape->setColor(rgb(128, 0, 128));
    Bevel1 = add<Bevel>("Bevel1");
    Bevel1->setBounds({110, 130, 60, 30});
    gProgress = add<Gauge>("gProgress");
    gProgress->setBounds({107, 7, 300, 24});
    gProgress->setForeColor(clNavy);
    gProgress->setBackColor(clWhite);
    gProgress->setShowText(false);
    gProgress->setMaxValue(10);
    btn_filename = add<SpeedButton>("btn_filename");
    btn_filename->setBounds({291, 87, 21, 21});
    btn_filename->setGlyph(res::kFolderGlyph);
  }
  Image* Img_back;
  Shape* shape;
  Bevel* Bevel1;
  Gauge* gProgress;
  SpeedButton* btn_filename;
};

class ToolkitPainting : public ::testing::Test {
 protected:
  void SetUp() override {
    ui.app.createForm(form);
    form->show();
    pump(ui.backend, 50);
    window = ui.backend.windowOf(*form);
    gauge = childNamed(window, "gProgress");
    ASSERT_NE(gauge, nullptr);
  }
  Ui ui;
  PaintForm* form = nullptr;
  HWND window = nullptr;
  HWND gauge = nullptr;
};

TEST_F(ToolkitPainting, GaugeFrameInteriorAndBarFollowThePercentage) {
  const int width = 300, height = 24;
  for (int progress : {0, 3, 5, 10}) {
    form->gProgress->setProgress(progress);
    SCOPED_TRACE("progress " + std::to_string(progress) + " of 10, bar right at " +
                 std::to_string(form->gProgress->barRight()));
    const int barRight = form->gProgress->barRight();
    for (int x : {0, 1, width / 2, width - 1}) {
      EXPECT_EQ(pixelAt(gauge, x, 0), kBlack) << "top frame at " << x;
      EXPECT_EQ(pixelAt(gauge, x, height - 1), kBlack) << "bottom frame at " << x;
    }
    for (int y : {0, 1, height / 2, height - 1}) {
      EXPECT_EQ(pixelAt(gauge, 0, y), kBlack) << "left frame at " << y;
      EXPECT_EQ(pixelAt(gauge, width - 1, y), kBlack) << "right frame at " << y;
    }
    // The bar covers the interior from its left edge up to, not including, barRight.
    for (int y : {1, height / 2, height - 2}) {
      if (barRight > 1) {
        EXPECT_EQ(pixelAt(gauge, 1, y), kNavy) << "bar start, row " << y;
        EXPECT_EQ(pixelAt(gauge, barRight - 1, y), kNavy) << "bar end, row " << y;
      }
      if (barRight < width - 1) {
        EXPECT_EQ(pixelAt(gauge, std::max(barRight, 1), y), kWhite) << "after the bar, row " << y;
        EXPECT_EQ(pixelAt(gauge, width - 2, y), kWhite) << "interior end, row " << y;
      }
    }
  }
}

TEST_F(ToolkitPainting, GaugeTextInvertsWhatLiesBeneath) {
  // The form's small font, and one large enough that Wine smooths its edges:
  // every pixel must still be the ground or its exact inverse.
  const Font fonts[] = {Font{}, Font{"Arial", 22, true, false, clWindowText}};
  form->gProgress->setShowText(true);
  form->gProgress->setProgress(5);  // "50%" straddles the bar's end
  for (const Font& font : fonts) {
    SCOPED_TRACE(font.name + " " + std::to_string(font.height));
    form->gProgress->setFont(font);
    pixelAt(gauge, 0, 0);
    HDC dc = GetDC(gauge);
    int overBar = 0, overBack = 0, stray = 0;
    for (int y = 1; y < 23; ++y)
      for (int x = 1; x < 299; ++x) {
        const COLORREF c = GetPixel(dc, x, y);
        const bool onBar = x < form->gProgress->barRight();
        const COLORREF ground = onBar ? kNavy : kWhite;
        if (c == inverse(ground)) ++(onBar ? overBar : overBack);
        stray += c != ground && c != inverse(ground);
      }
    ReleaseDC(gauge, dc);
    EXPECT_GT(overBar, 10) << "no text pixels over the bar";
    EXPECT_GT(overBack, 10) << "no text pixels over the background";
    EXPECT_EQ(stray, 0) << "pixels that are neither the ground nor its inverse";
  }
}

TEST_F(ToolkitPainting, ParentDrawsImageShapeAndBevel) {
  struct Case {
    const char* what;
    int x, y;
    COLORREF expected;
  } const cases[] = {
      {"sky bar, top left", 0, 0, RGB(0, 128, 255)},
      {"sky bar, stretched to its bottom right", 96, 178, RGB(0, 128, 255)},
      {"form below the sky bar", 10, 185, RGB(192, 192, 192)},
      {"shape fill", 125, 110, RGB(128, 0, 128)},
      {"lowered bevel, top edge", 130, 130, GetSysColor(COLOR_BTNSHADOW)},
      {"lowered bevel, bottom edge", 130, 159, GetSysColor(COLOR_BTNHIGHLIGHT)},
  };
  for (const Case& c : cases) EXPECT_EQ(pixelAt(window, c.x, c.y), c.expected) << c.what;
}

TEST_F(ToolkitPainting, FolderButtonShowsItsGlyph) {
  HWND button = childNamed(window, "btn_filename");
  ASSERT_NE(button, nullptr);
  pixelAt(button, 0, 0);
  HDC dc = GetDC(button);
  int yellow = 0, navy = 0;
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 21; ++x) {
      const COLORREF c = GetPixel(dc, x, y);
      yellow += c == RGB(255, 255, 0);
      navy += c == kNavy;
    }
  ReleaseDC(button, dc);
  // The folder's yellow and the arrow's navy, as drawn in FolderGlyph.bmp.
  EXPECT_GT(yellow, 30);
  EXPECT_GT(navy, 10);
}

// Labels over a red shape: a transparent one and one on its own colour.
class LabelForm : public Form {
 public:
  explicit LabelForm(Application& app) : Form(app, "frmLabels") {
    setBorderStyle(BorderStyle::Dialog);
    setStayOnTop(true);
    setClientSize(320, 100);
    band = add<Shape>("band");
    band->setBounds({0, 0, 320, 100});
    band->setColor(rgb(255, 0, 0));
    lbl_caption = add<Label>("lbl_caption");
    lbl_caption->setBounds({10, 5, 300, 40});
    lbl_caption->setTransparent(true);
    lbl_caption->setFont({"Arial", 21, true, true, clWhite});
    lbl_caption->setCaption("WWWWWWWWWWWW");
    lbl_plain = add<Label>("lbl_plain");
    lbl_plain->setBounds({10, 60, 300, 30});
    lbl_plain->setColor(clSilver);
    lbl_plain->setFont({"Arial", 12, true, false, clBlue});
    lbl_plain->setCaption("Install to . . .");
  }
  Shape* band;
  Label* lbl_caption;
  Label* lbl_plain;
};

// How many pixels of the rectangle have the colour, as the screen shows it now.
int shownColour(HWND window, const RECT& r, COLORREF colour) {
  HDC dc = GetDC(window);
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += GetPixel(dc, x, y) == colour;
  ReleaseDC(window, dc);
  return n;
}

// The same, once everything has been repainted.
int countColour(HWND window, const RECT& r, COLORREF colour) {
  pixelAt(window, r.left, r.top);
  return shownColour(window, r, colour);
}

TEST(ToolkitLabels, FontsAndColoursReachTheStaticControls) {
  Ui ui;
  LabelForm* form = nullptr;
  ui.app.createForm(form);
  struct Case {
    const char* name;
    const char* face;
    int height, weight;
    bool italic;
  } const cases[] = {
      {"lbl_caption", "Arial", -21, FW_BOLD, true},
      {"lbl_plain", "Arial", -12, FW_BOLD, false},
  };
  HWND window = ui.backend.windowOf(*form);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LOGFONTA font{};
    HWND label = childNamed(window, c.name);
    ASSERT_NE(label, nullptr);
    ASSERT_TRUE(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)), sizeof font, &font));
    EXPECT_STREQ(font.lfFaceName, c.face);
    EXPECT_EQ(font.lfHeight, c.height);
    EXPECT_EQ(font.lfWeight, c.weight);
    EXPECT_EQ(font.lfItalic != 0, c.italic);
  }
  form->show();
  pump(ui.backend, 50);
  const RECT caption{10, 5, 310, 45}, plain{10, 60, 310, 90};
  EXPECT_GT(countColour(window, caption, RGB(255, 255, 255)), 100) << "the white caption text";
  EXPECT_GT(countColour(window, plain, RGB(0, 0, 255)), 30) << "the blue step text";
  // The plain label fills its bounds with its own colour; the shape shows around the text only.
  EXPECT_EQ(countColour(window, plain, RGB(255, 0, 0)), 0);
  EXPECT_GT(countColour(window, plain, RGB(192, 192, 192)), 3000);
}

TEST(ToolkitLabels, ATransparentLabelsNewTextReplacesItsOldOne) {
  Ui ui;
  LabelForm* form = nullptr;
  ui.app.createForm(form);
  form->show();
  pump(ui.backend, 50);
  HWND window = ui.backend.windowOf(*form);
  const RECT caption{10, 5, 310, 45};
  ASSERT_GT(countColour(window, caption, RGB(255, 255, 255)), 100);
  // Without the parent repainting beneath it, the old text would stay under the new
  // one. Painted at once, before any pump: a run may copy a large file before its next.
  form->lbl_caption->setCaption("i");
  const int narrow = shownColour(window, caption, RGB(255, 255, 255));
  EXPECT_GT(narrow, 0);
  EXPECT_LT(narrow, 60);
  // A step label turning from white to blue, at once as well.
  form->lbl_caption->setCaption("WWWWWWWWWWWW");
  Font blue = form->lbl_caption->font();
  blue.color = clBlue;
  form->lbl_caption->setFont(blue);
  EXPECT_GT(shownColour(window, caption, RGB(0, 0, 255)), 100) << "the label in its new colour";
  EXPECT_EQ(shownColour(window, caption, RGB(255, 255, 255)), 0) << "the label in its old colour";
  form->lbl_caption->setCaption("");
  pump(ui.backend, 50);
  EXPECT_EQ(countColour(window, caption, RGB(255, 255, 255)), 0);
  EXPECT_EQ(countColour(window, caption, RGB(255, 0, 0)), 300 * 40) << "the shape beneath shows through";
}

TEST_F(ToolkitPainting, GaugeProgressIsPaintedBeforeAnyMessageIsPumped) {
  form->gProgress->setProgress(5);
  const RECT bar{1, 1, form->gProgress->barRight(), 23};
  EXPECT_EQ(shownColour(gauge, bar, kNavy), (bar.right - bar.left) * (bar.bottom - bar.top));
}

}  // namespace
}  // namespace toolkit_test
