// Alignment, distribution and keyboard moves of selected components and modules.
#include "designer/commands_align.h"
#include "doc_fixture.h"

namespace zor2::test {
namespace {

class AlignTest : public DocTest {
  protected:
    AlignTest() {
        DesignNewModule();
        // Three constants (64 x 64 boxes) at scattered places.
        for (CPoint p : {CPoint{100, 100}, CPoint{300, 180}, CPoint{210, 400}})
            m_c.push_back(Add(kConstant, p.x, p.y));
        Ed().SelectComponents({m_c[0]->m_id, m_c[1]->m_id, m_c[2]->m_id});
    }
    std::vector<CNetworkModel*> m_c;
};

TEST_F(AlignTest, AlignmentCommandsMoveEveryEdgeOrCentre) {
    struct Case {
        EAlign how;
        const char* name;
        int32_t expected;
    };
    // Boxes: [68..132]x[68..132], [268..332]x[148..212], [178..242]x[368..432].
    const Case cases[] = {
        {EAlign::Left, "left", 68},
        {EAlign::Right, "right", 332},
        {EAlign::Top, "top", 68},
        {EAlign::Bottom, "bottom", 432},
        {EAlign::Vertical, "vertical", 68 + 264 / 2},
        {EAlign::Horizontal, "horizontal", 68 + 364 / 2},
    };
    const std::vector<CPoint> start = {m_c[0]->m_position, m_c[1]->m_position, m_c[2]->m_position};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (size_t i = 0; i < m_c.size(); ++i) {
            m_c[i]->SetPosition(start[i].x, start[i].y);
            m_c[i]->CalcSize();
        }
        ASSERT_EQ(m_c[0]->m_box, (CRect{68, 68, 132, 132}));
        const size_t levels = Levels();
        EXPECT_EQ(Align(m_doc, c.how), ECmd::Done);
        for (CNetworkModel* comp : m_c) EXPECT_EQ(AlignedEdge(c.how, comp->m_box), c.expected);
        EXPECT_EQ(Levels(), std::min<size_t>(levels + 1, CUndo::kMaxLevels + 1));
    }
}

TEST_F(AlignTest, DistributeVerticallyUsesEqualGaps) {
    // Span 68..432 = 364, heights 3 x 64 = 192, free 172, gap 86.
    EXPECT_EQ(DistributeVertically(m_doc), ECmd::Done);
    EXPECT_EQ(m_c[0]->m_box.top, 68);
    EXPECT_EQ(m_c[1]->m_box.top, 132 + 86);
    EXPECT_EQ(m_c[2]->m_box.top, 132 + 86 + 64 + 86);
    // Only the vertical edges moved.
    EXPECT_EQ(m_c[1]->m_box.left, 268);
}

TEST_F(AlignTest, DistributeWithTinyFreeSpaceUsesGapTwo) {
    CNetworkModel* a = m_c[0];
    CNetworkModel* b = m_c[1];
    a->SetPosition(100, 100);
    b->SetPosition(150, 101);  // overlapping: free space below two pixels
    Ed().SelectComponents({b->m_id, a->m_id});
    EXPECT_EQ(DistributeVertically(m_doc), ECmd::Done);
    EXPECT_EQ(a->m_box.top, 68);
    EXPECT_EQ(b->m_box.top, a->m_box.bottom + 2);
    EXPECT_EQ(DistributeHorizontally(m_doc), ECmd::Done);
    EXPECT_EQ(b->m_box.left, a->m_box.right + 2);
}

TEST_F(AlignTest, NothingOrOneSelectedChangesNothing) {
    Ed().SelectComponents({});
    const size_t levels = Levels();
    EXPECT_EQ(Align(m_doc, EAlign::Left), ECmd::Unavailable);
    EXPECT_EQ(MoveSelection(m_doc, EArrowKey::Up), ECmd::Unavailable);
    Ed().SelectComponents({m_c[0]->m_id});
    const CRect before = m_c[0]->m_box;
    EXPECT_EQ(DistributeVertically(m_doc), ECmd::Unavailable);  // one object: no gap to divide
    EXPECT_EQ(m_c[0]->m_box, before);
    EXPECT_EQ(Levels(), levels);
}

TEST_F(AlignTest, ArrowKeysMoveTwoPixels) {
    struct Case {
        EArrowKey key;
        int32_t dx, dy;
    };
    const Case cases[] = {
        {EArrowKey::Left, -2, 0}, {EArrowKey::Right, 2, 0}, {EArrowKey::Up, 0, -2}, {EArrowKey::Down, 0, 2}};
    for (const Case& c : cases) {
        const CRect before = m_c[2]->m_box;
        EXPECT_EQ(MoveSelection(m_doc, c.key), ECmd::Done);
        EXPECT_EQ(m_c[2]->m_box.left, before.left + c.dx);
        EXPECT_EQ(m_c[2]->m_box.top, before.top + c.dy);
        // The ports follow the box.
        EXPECT_EQ(m_c[2]->FirstOutput()->m_id, 10);
    }
}

TEST_F(AlignTest, SystemViewAlignsModules) {
    Ed().ShowSystem();
    CNetwork* a = Sys().m_modules.Head();
    ASSERT_EQ(AddModuleAt(m_doc, 500, 300), ECmd::Done);
    CNetwork* b = Sys().m_modules.Tail();
    Ed().SelectModules({a->m_id, b->m_id});
    const int32_t left = std::min(a->m_boxRect.left, b->m_boxRect.left);
    EXPECT_EQ(Align(m_doc, EAlign::Left), ECmd::Done);
    EXPECT_EQ(a->m_boxRect.left, left);
    EXPECT_EQ(b->m_boxRect.left, left);
    const CPoint before = b->m_position;
    EXPECT_EQ(MoveSelection(m_doc, EArrowKey::Down), ECmd::Done);
    EXPECT_EQ(b->m_position.y, before.y + 2);
}

}  // namespace
}  // namespace zor2::test
