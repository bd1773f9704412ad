// Splitters: a drag resizes the neighbour the splitter is aligned against,
// within MinSize on both sides, live or at the end of the drag.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/ui/Form.h"
#include "platform/ui/Input.h"
#include "platform/ui/controls/Splitter.h"

namespace qv {
namespace {

class SplitterTest : public ::testing::Test, public TObject {
 public:
  void Moved(TObject*) { ++moves; }
  void LimitTo100(TObject*, int& size, bool&) { size = std::min(size, 100); }

 protected:
  // A form of client width 400 with [side | splitter | rest], or the same stacked when vertical.
  void Build(TAlign align) {
    form = CreateForm<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    side = new TWinControl(form);
    side->SetBounds(0, 0, 150, 150);
    side->SetAlign(align);
    side->SetParent(form);
    splitter = new TSplitter(form);
    splitter->SetBounds(0, 0, 3, 3);
    splitter->SetAlign(align);
    splitter->SetParent(form);
    splitter->SetMinSize(30);
    splitter->OnMoved = MethodOf<&SplitterTest::Moved>(this);
    rest = new TWinControl(form);
    rest->SetAlign(alClient);
    rest->SetParent(form);
    form->Show();
  }
  void TearDown() override { Free(form); }

  // Drags the splitter by delta pixels along its axis.
  void Drag(int delta) {
    const bool horizontal = splitter->Align() == alLeft || splitter->Align() == alRight;
    splitter->MouseDown(mbLeft, ssLeft, 1, 1);
    splitter->MouseMove(ssLeft, 1 + (horizontal ? delta : 0), 1 + (horizontal ? 0 : delta));
    splitter->MouseUp(mbLeft, 0, 1 + (horizontal ? delta : 0), 1 + (horizontal ? 0 : delta));
  }
  int SideSize() const { return side->Align() == alLeft || side->Align() == alRight ? side->Width() : side->Height(); }

  TForm* form = nullptr;
  TWinControl* side = nullptr;
  TSplitter* splitter = nullptr;
  TWinControl* rest = nullptr;
  int moves = 0;
};

struct DragCase {
  TAlign align;
  int delta;
  int expected;  // the neighbour's size afterwards
};

class SplitterDrag : public SplitterTest, public ::testing::WithParamInterface<DragCase> {};

TEST_P(SplitterDrag, ResizesTheNeighbourWithinMinSize) {
  Build(GetParam().align);
  ASSERT_EQ(splitter->FindNeighbour(), side);
  Drag(GetParam().delta);
  EXPECT_EQ(SideSize(), GetParam().expected);
  EXPECT_EQ(moves, 1);
  // The splitter follows its neighbour's edge and the rest fills what is left.
  if (GetParam().align == alLeft) {
    EXPECT_EQ(splitter->Left(), side->Width());
    EXPECT_EQ(rest->Left(), side->Width() + 3);
  }
}

// Client 400 × 300; the side starts at 150; the splitter is 3; MinSize 30.
INSTANTIATE_TEST_SUITE_P(Cases, SplitterDrag,
                         ::testing::Values(DragCase{alLeft, 50, 200}, DragCase{alLeft, -100, 50},
                                           DragCase{alLeft, -140, 30},          // not below MinSize
                                           DragCase{alLeft, 300, 400 - 3 - 30},  // leaves MinSize beside it
                                           DragCase{alRight, 50, 100},           // a right splitter moves the other way
                                           DragCase{alRight, -500, 367}, DragCase{alTop, 40, 190},
                                           DragCase{alBottom, -20, 170}));

TEST_F(SplitterTest, LiveResizingAndCanResize) {
  Build(alLeft);
  splitter->SetResizeStyle(rsUpdate);
  splitter->MouseDown(mbLeft, ssLeft, 1, 1);
  splitter->MouseMove(ssLeft, 21, 1);
  EXPECT_EQ(side->Width(), 170);  // live while dragging
  EXPECT_EQ(moves, 0);
  // The splitter moved with the neighbour; the drag keeps counting from where it began.
  splitter->MouseUp(mbLeft, 0, 1 + 40 - 20, 1);
  EXPECT_EQ(side->Width(), 190);
  EXPECT_EQ(moves, 1);

  splitter->SetResizeStyle(rsPattern);
  splitter->OnCanResize = MethodOf<&SplitterTest::LimitTo100>(this);
  splitter->MouseDown(mbLeft, ssLeft, 1, 1);
  splitter->MouseMove(ssLeft, 31, 1);
  EXPECT_EQ(side->Width(), 190);  // only at the end
  splitter->MouseUp(mbLeft, 0, 31, 1);
  EXPECT_EQ(side->Width(), 100);
}

TEST_F(SplitterTest, NoNeighbourNoDrag) {
  Build(alLeft);
  side->SetAlign(alRight);  // no longer against the splitter
  EXPECT_EQ(splitter->FindNeighbour(), nullptr);
  splitter->MouseDown(mbLeft, ssLeft, 1, 1);
  EXPECT_FALSE(splitter->Dragging());
  splitter->MouseUp(mbLeft, 0, 50, 1);
  EXPECT_EQ(moves, 0);
}

}  // namespace
}  // namespace qv
