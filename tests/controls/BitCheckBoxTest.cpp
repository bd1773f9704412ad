// The program-drawn check box: toggling and OnClick, the accelerator, the
// pictures and their cells, and what it paints.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/BtChkBox.h"
#include "platform/core/TypInfo.h"
#include "platform/ui/Application.h"
#include "platform/ui/ControlObserver.h"
#include "platform/ui/Form.h"
#include "platform/ui/Input.h"

namespace qv {
namespace {

class EventLog : public TObject {
 public:
  void Clicked(TObject* sender) {
    auto* box = static_cast<TBitCheckBox*>(sender);
    states.push_back(box->State());
    focusedAtClick = box->Focused();
  }
  std::vector<TCheckBoxState> states;
  bool focusedAtClick = true;
};

class ContentChanges : public ControlObserver {
 public:
  ContentChanges() { Install(this); }
  ~ContentChanges() override { Install(nullptr); }
  void ControlChanged(TControl& control, ControlChange change) override {
    if (change == ControlChange::Content) changed.push_back(&control);
  }
  std::vector<TControl*> changed;
};

class BitCheckBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 200);
    auto* first = new TBitCheckBox(form);
    first->SetParent(form);
    box = new TBitCheckBox(form);
    box->SetParent(form);
    box->OnClick = MethodOf<&EventLog::Clicked>(&log);
    form->Show();
    input::Focus(*first);
  }
  void TearDown() override {
    TObject::Free(form);
    Application().ProcessMessages();
  }

  TForm* form = nullptr;
  TBitCheckBox* box = nullptr;
  EventLog log;
};

// A picture of cells side by side: cell i filled with colors[i], its
// bottom-left pixel olive, the picture's transparent colour.
std::unique_ptr<TBitmap> Picture(int width, int height, const std::vector<TColor>& colors) {
  auto picture = std::make_unique<TBitmap>();
  TBitmap& bitmap = *picture;
  bitmap.SetSize(width, height);
  const int cell = width / static_cast<int>(colors.size());
  for (std::size_t i = 0; i < colors.size(); ++i) {
    bitmap.Canvas().Brush().SetColor(colors[i]);
    bitmap.Canvas().FillRect({static_cast<int>(i) * cell, 0, static_cast<int>(i + 1) * cell, height});
    bitmap.Canvas().SetPixels(static_cast<int>(i) * cell, height - 1, clOlive);
  }
  return picture;
}

TEST_F(BitCheckBoxTest, StartsAsATabStop97By17WithOneCellDefaultPictures) {
  EXPECT_EQ(box->Width(), 97);
  EXPECT_EQ(box->Height(), 17);
  EXPECT_TRUE(box->TabStop());
  EXPECT_EQ(box->State(), cbUnchecked);
  EXPECT_EQ(box->Alignment(), taRightJustify);
  for (TCheckBoxState state : {cbUnchecked, cbChecked, cbGrayed}) {
    SCOPED_TRACE(state);
    EXPECT_EQ(box->Glyph(state)->Width(), 19);
    EXPECT_EQ(box->Glyph(state)->Height(), 14);
    EXPECT_EQ(box->NumGlyphs(state), 1);
  }
}

TEST_F(BitCheckBoxTest, DefaultPicturesDifferPerStateAndHaveATransparentCorner) {
  const TBitmap& unchecked = DefaultCheckGlyph(cbUnchecked);
  const TBitmap& checked = DefaultCheckGlyph(cbChecked);
  const TBitmap& grayed = DefaultCheckGlyph(cbGrayed);
  auto differ = [](const TBitmap& a, const TBitmap& b) {
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        if (a.PixelAt(x, y) != b.PixelAt(x, y)) return true;
    return false;
  };
  EXPECT_TRUE(differ(unchecked, checked));
  EXPECT_TRUE(differ(checked, grayed));
  EXPECT_EQ(checked.TransparentColor(), checked.PixelAt(0, 13));
  EXPECT_NE(checked.PixelAt(9, 6), checked.TransparentColor());  // the box is opaque
}

TEST_F(BitCheckBoxTest, PropertiesArePublished) {
  for (const char* name : {"Caption", "State", "Checked", "AllowGrayed", "Alignment", "CheckedGlyph", "UncheckedGlyph",
                           "GrayedGlyph", "CheckedNumGlyphs", "UncheckedNumGlyphs", "GrayedNumGlyphs", "OnClick",
                           "OnKeyPress", "OnEnter", "OnExit", "OnMouseDown", "OnDragDrop", "TabOrder", "TabStop",
                           "Font", "Color", "Enabled", "Hint", "ShowHint"}) {
    SCOPED_TRACE(name);
    EXPECT_NE(GetPropInfo(box, name), nullptr);
  }
  SetPropText(*box, *GetPropInfo(box, "State"), "cbGrayed");
  EXPECT_EQ(box->State(), cbGrayed);
}

TEST_F(BitCheckBoxTest, ClicksWalkTheStatesAndRaiseOnClickAfterEachChange) {
  struct Case {
    bool allowGrayed;
    std::vector<TCheckBoxState> seen;
  };
  for (const Case& c : {Case{true, {cbGrayed, cbChecked, cbUnchecked}}, Case{false, {cbChecked, cbUnchecked, cbChecked}}}) {
    SCOPED_TRACE(c.allowGrayed);
    box->SetState(cbUnchecked);
    box->SetAllowGrayed(c.allowGrayed);
    log.states.clear();
    for (int i = 0; i < 3; ++i) input::Click(*box);
    EXPECT_EQ(log.states, c.seen);
    EXPECT_EQ(box->State(), c.seen.back());
  }
}

TEST_F(BitCheckBoxTest, SettingTheStateRepaintsWithoutOnClick) {
  ContentChanges changes;
  box->SetChecked(true);
  EXPECT_EQ(box->State(), cbChecked);
  box->SetState(cbGrayed);
  EXPECT_FALSE(box->Checked());
  EXPECT_TRUE(log.states.empty());
  EXPECT_EQ(changes.changed, (std::vector<TControl*>{box, box}));
}

TEST_F(BitCheckBoxTest, AClickTakesTheFocusAfterOnClick) {
  box->Click();
  EXPECT_FALSE(log.focusedAtClick);
  EXPECT_TRUE(box->Focused());
}

TEST_F(BitCheckBoxTest, TheSpaceKeyClicks) {
  input::Focus(*box);
  input::Key(*box, VK_SPACE);
  EXPECT_EQ(log.states, std::vector<TCheckBoxState>{cbChecked});
}

TEST_F(BitCheckBoxTest, TheAcceleratorFocusesAndTogglesWithoutOnClick) {
  struct Case {
    const char* caption;
    Word key;
    TShiftState shift;
    bool matches;
  };
  for (const Case& c : {Case{"&Print", 'P', ssAlt, true}, Case{"Pr&int", 'I', ssAlt, true},
                        Case{"&Print", 'P', 0, false}, Case{"&Print", 'R', ssAlt, false},
                        Case{"&&Print", 'P', ssAlt, false}, Case{"Print", 'P', ssAlt, false}}) {
    SCOPED_TRACE(c.caption);
    box->SetCaption(c.caption);
    EXPECT_EQ(box->IsAccelerator(c.key, c.shift), c.matches);
  }
  EXPECT_FALSE(box->Focused());
  box->AcceleratorPressed();
  EXPECT_TRUE(box->Focused());
  EXPECT_EQ(box->State(), cbChecked);
  EXPECT_TRUE(log.states.empty());
}

TEST_F(BitCheckBoxTest, AssigningAPictureCopiesItAndSetsTheCellCount) {
  struct Case {
    int width, height;
    int countBefore;
    int expected;
  };
  for (const Case& c : {Case{28, 14, 1, 2}, Case{14, 14, 2, 1}, Case{42, 14, 1, 2}, Case{19, 14, 2, 2}, Case{19, 14, 1, 1}}) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    box->SetCheckedNumGlyphs(c.countBefore);
    auto picture = Picture(c.width, c.height, {clRed});
    box->SetCheckedGlyph(picture.get());
    EXPECT_EQ(box->CheckedNumGlyphs(), c.expected);
    picture->SetSize(3, 3);
    EXPECT_EQ(box->CheckedGlyph()->Width(), c.width);
  }
}

TEST_F(BitCheckBoxTest, NoPictureRestoresTheDefault) {
  auto picture = Picture(28, 14, {clRed, clBlue});
  box->SetGrayedGlyph(picture.get());
  box->SetGrayedGlyph(nullptr);
  EXPECT_EQ(box->GrayedNumGlyphs(), 1);
  ASSERT_EQ(box->GrayedGlyph()->Width(), 19);
  EXPECT_EQ(box->GrayedGlyph()->PixelAt(9, 6), DefaultCheckGlyph(cbGrayed).PixelAt(9, 6));
}

TEST_F(BitCheckBoxTest, CellCountsStayWithinOneAndTwo) {
  box->SetUncheckedNumGlyphs(0);
  EXPECT_EQ(box->UncheckedNumGlyphs(), 1);
  box->SetUncheckedNumGlyphs(5);
  EXPECT_EQ(box->UncheckedNumGlyphs(), 2);
}

// Painted onto a bitmap: the pixel in the middle of the picture shows which
// cell was drawn; its transparent corner shows the control's colour.
TEST_F(BitCheckBoxTest, ADisabledBoxDrawsTheSecondCellOfATwoCellPicture) {
  struct Case {
    int pictureWidth;
    std::vector<TColor> cells;
    bool enabled;
    TColor seen;
  };
  for (const Case& c : {Case{19, {clRed}, false, clRed}, Case{28, {clRed, clBlue}, false, clBlue},
                        Case{28, {clRed, clBlue}, true, clRed}}) {
    SCOPED_TRACE(std::to_string(c.pictureWidth) + (c.enabled ? " enabled" : " disabled"));
    auto picture = Picture(c.pictureWidth, 14, c.cells);
    box->SetUncheckedGlyph(picture.get());
    box->SetEnabled(c.enabled);
    TBitmap painted;
    painted.SetSize(box->Width(), box->Height());
    box->PaintTo(painted.Canvas());
    EXPECT_EQ(painted.PixelAt(5, 6), c.seen);
    EXPECT_EQ(painted.PixelAt(0, 14), ColorToRGB(clBtnFace));
  }
}

struct Op {
  DrawKind kind;
  TRect rect;
  TPoint origin;
  std::string text;
  TColor color;
};

void ExpectOperations(const std::vector<DrawOperation>& actual, const std::vector<Op>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(actual[i].Kind, expected[i].kind);
    EXPECT_EQ(actual[i].Rect, expected[i].rect);
    EXPECT_EQ(actual[i].Color, expected[i].color);
    if (expected[i].kind == DrawKind::TextRect) {
      EXPECT_EQ(actual[i].Origin, expected[i].origin);
      EXPECT_EQ(actual[i].Text, expected[i].text);
      EXPECT_EQ(actual[i].FillColor, clNone);
    }
  }
}

// Font height 13: "Print" is 35 wide; the picture's cell is 19 wide.
TEST_F(BitCheckBoxTest, PaintsFillCaptionFocusAndPictureInOrder) {
  struct Case {
    const char* name;
    std::function<void(TBitCheckBox&)> setup;
    std::vector<Op> expected;
  };
  const TColor transparent = DefaultCheckGlyph(cbUnchecked).TransparentColor();
  const std::vector<Case> cases = {
      {"focused, picture left",
       [](TBitCheckBox& b) { b.SetFocus(); },
       {{DrawKind::FillRect, {0, 0, 97, 17}, {}, "", clBtnFace},
        {DrawKind::TextRect, {23, 0, 58, 16}, {23, 1}, "Print", clWindowText},
        {DrawKind::FocusRect, {22, 0, 59, 17}, {}, "", clNone},
        {DrawKind::Draw, {0, 1, 19, 15}, {}, "", transparent}}},
      {"accelerator, caption left",
       [](TBitCheckBox& b) { b.SetCaption("&Print"); b.SetAlignment(taLeftJustify); },
       {{DrawKind::FillRect, {0, 0, 97, 17}, {}, "", clBtnFace},
        {DrawKind::TextRect, {1, 0, 36, 16}, {1, 1}, "Print", clWindowText},
        {DrawKind::Draw, {78, 1, 97, 15}, {}, "", transparent}}},
      {"disabled, 3-D",
       [](TBitCheckBox& b) { b.SetEnabled(false); },
       {{DrawKind::FillRect, {0, 0, 97, 17}, {}, "", clBtnFace},
        {DrawKind::TextRect, {24, 1, 59, 17}, {24, 2}, "Print", clBtnHighlight},
        {DrawKind::TextRect, {23, 0, 58, 16}, {23, 1}, "Print", clGrayText},
        {DrawKind::Draw, {0, 1, 19, 15}, {}, "", transparent}}},
      {"disabled, flat",
       [](TBitCheckBox& b) { b.SetEnabled(false); b.SetCtl3D(false); },
       {{DrawKind::FillRect, {0, 0, 97, 17}, {}, "", clBtnFace},
        {DrawKind::TextRect, {23, 0, 58, 16}, {23, 1}, "Print", clGrayText},
        {DrawKind::Draw, {0, 1, 19, 15}, {}, "", transparent}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* b = new TBitCheckBox(form);
    b->SetParent(form);
    b->SetCaption("Print");
    c.setup(*b);
    b->Canvas().TextOut(0, 0, "left over");
    b->Paint();
    ExpectOperations(b->Canvas().Operations(), c.expected);
    TObject::Free(b);
  }
}

TEST_F(BitCheckBoxTest, TheTextRectangleStaysInsideTheControl) {
  box->SetCaption("A caption far wider than the box");
  box->SetHeight(10);
  const TRect rect = box->TextRect();
  EXPECT_EQ(rect, (TRect{23, 0, 97, 10}));
}

}  // namespace
}  // namespace qv
