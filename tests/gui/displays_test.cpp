// The display components drawn in the module view offscreen, cycle after cycle,
// saved as PNG pictures under the build folder; and the property window's
// list, button and cell grid controls editing a sheet.
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "components/utility/display.h"
#include "components/utility/led_matrix.h"
#include "designer/commands_connect.h"
#include "designer/gui/property_dialogs.h"
#include "designer/gui/view_paint.h"
#include "gui_scene.h"

using namespace zor2;
using namespace zor2::gui;

namespace {

/// A window with a module holding the three displays, their sources wired.
struct CDisplayScene {
    std::unique_ptr<CMainWindow> w;
    CNetwork* module = nullptr;
    CNetworkModel* digit = nullptr;
    CNetworkModel* chart = nullptr;
    CModel8x8Controller* controller = nullptr;
    CNetworkModel* matrix = nullptr;
    CNetworkModel* level = nullptr;   // feeds the chart's bar
    CNetworkModel* number = nullptr;  // chooses the controller's picture

    CDisplayScene() {
        w = std::make_unique<CMainWindow>(nullptr, SceneLink());
        w->resize(1400, 1000);
        w->show();
        Czor2Doc& d = w->Document();
        AddModule(d);
        module = d.System().m_modules.Head();
        w->View().ShowModule(module);
        auto add = [&](int32_t type, int32_t x, int32_t y) {
            AddComponent(d, type, x, y);
            return d.Editor().SelectedComponent(d.System());
        };
        CNetworkModel* one = add(41, 60, 120);
        one->m_value = 1;
        digit = add(74, 260, 180);
        level = add(41, 60, 420);
        chart = add(75, 460, 180);
        number = add(41, 60, 620);
        controller = static_cast<CModel8x8Controller*>(add(76, 260, 520));
        matrix = add(77, 460, 520);
        auto wire = [&](CNetworkModel* src, CNetworkModel* dst, int32_t in) {
            QCOMPARE(ConnectComponents(d, src->m_id, src->FirstOutput()->m_id, dst->m_id, in), ECmd::Done);
        };
        for (int32_t seg : {20, 30, 50}) wire(one, digit, seg);  // top, upper right, bottom
        wire(level, chart, 0);
        wire(number, controller, 20);
        wire(controller, matrix, 20);
        CPattern64Bit picture{0, 1, "corner"};
        picture.m_cells[0] = 1;  // red
        controller->SetPatterns({picture});
        d.Editor().ClearSelection();
        d.Editor().ApplyToModel(d.System());
        w->View().SetZoom(1.0);
        w->View().CenterView();
    }

    /// One cycle, then the view repainted as the simulation's redraw does.
    QImage CycleAndGrab() {
        w->Document().System().RunCycle();
        w->View().viewport()->repaint();
        return w->View().viewport()->grab().toImage();
    }
    QRect BoxOf(const CNetworkModel& c) const {
        const QPointF a = w->View().ToViewport(QPointF(c.m_box.left, c.m_box.top));
        const QPointF b = w->View().ToViewport(QPointF(c.m_box.right, c.m_box.bottom));
        return QRectF(a, b).toAlignedRect();
    }
    /// Whether a pixel near `at` (in the component's box, 0..1 of its size) is close to `colour`.
    bool Shows(const QImage& image, const CNetworkModel& c, QPointF at, QColor colour) const {
        const QRect box = BoxOf(c);
        const QPoint p(box.left() + static_cast<int>(at.x() * box.width()),
                       box.top() + static_cast<int>(at.y() * box.height()));
        for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) {
                const QColor seen = image.pixelColor(p + QPoint(dx, dy));
                if (std::abs(seen.red() - colour.red()) + std::abs(seen.green() - colour.green()) +
                        std::abs(seen.blue() - colour.blue()) <
                    60)
                    return true;
            }
        }
        return false;
    }
    void Save(const QImage& image, const CNetworkModel& c, const char* name) const {
        QVERIFY(image.copy(BoxOf(c).adjusted(-4, -20, 4, 4))
                    .save(QDir(QStringLiteral(ZOR2_GUI_TEST_OUT)).filePath(QString::fromLatin1(name))));
    }
};

/// Buttons that ask nothing in this test; no data file is chosen.
class CQuietHost final : public IPropertyHost {
  public:
    IPrompter& Prompter() override { return m_prompter; }
    std::string ChooseDataFile(const std::string&, bool) override { return {}; }
    CSilentPrompter m_prompter{EAnswer::No};
};

}  // namespace

class DisplaysTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QVERIFY(StartGuiTests(m_dir)); }
    void init() { UseFreshSettings(m_dir, m_round); }
    void displaysDrawWhatTheCycleLeft();
    void gridListAndButtonsEditTheSheet();

  private:
    QTemporaryDir m_dir;
    int m_round = 0;
};

void DisplaysTest::displaysDrawWhatTheCycleLeft() {
    CDisplayScene s;
    const QColor red(0xFF, 0, 0);
    // The digit's box: picture between y 16 and bottom - 28; the top segment
    // sits near the top of the digit, the middle one at the centre.
    QImage image = s.CycleAndGrab();
    const CRect& box = s.digit->m_box;
    const double height = box.bottom - box.top;
    const double w = std::min(140.0 - 16, (height - 44) / 2);
    const double top = (16 + (height - 44) / 2 - w + w * 0.08) / height;
    QVERIFY(s.Shows(image, *s.digit, {0.5, top}, red));
    QVERIFY(!s.Shows(image, *s.digit, {0.5, (16 + (height - 44) / 2) / height}, red));  // seg7 dark
    s.Save(image, *s.digit, "display_7segment.png");

    // The chart's bar follows its input: 60 % is in the middle zone, 95 % at or above the high limit.
    auto* chart = static_cast<CModelChartColumn*>(s.chart);
    for (const auto& [value, zone] : {std::pair{60.0, 1}, std::pair{95.0, 2}}) {
        s.level->m_value = value;
        image = s.CycleAndGrab();
        const QColor fill = ColourOf(chart->ZoneColour(zone));
        bool found = false;
        for (double x = 0.3; x < 0.95 && !found; x += 0.02)
            found = s.Shows(image, *s.chart, {x, 0.7}, fill.darker(105));
        QVERIFY2(found, qPrintable(QString::number(value)));
    }
    s.Save(image, *s.chart, "display_column_chart.png");

    // The 8x8 display shows the controller's picture, and goes dark when the number selects none.
    s.number->m_value = 1;
    image = s.CycleAndGrab();
    const QColor lit = LedCodeColour(1);
    const double cellAt = (8 + (130 - 16) / 2.0 - 86 / 2.0 + 86 / 16.0) / 130;  // centre of cell (0, 0)
    QVERIFY(s.Shows(image, *s.matrix, {cellAt, (16 + 86 / 16.0) / 130}, lit));
    s.Save(image, *s.matrix, "display_8x8.png");
    s.number->m_value = 5;
    image = s.CycleAndGrab();
    QVERIFY(!s.Shows(image, *s.matrix, {cellAt, (16 + 86 / 16.0) / 130}, lit));
}

void DisplaysTest::gridListAndButtonsEditTheSheet() {
    CDisplayScene s;
    CPropertySheet sheet = ReadComponentProperties(*s.controller);
    CQuietHost host;
    CdlgComponentProperties dialog(sheet, nullptr, &host);
    auto* add = dialog.findChild<QPushButton*>(QStringLiteral("addPattern"));
    QVERIFY(add);
    add->click();
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("patterns"));
    QVERIFY(list);
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->currentRow(), 1);
    QCOMPARE(list->item(1)->text(), QStringLiteral("0: Pattern 1"));
    auto* blue = dialog.findChild<QRadioButton*>(QStringLiteral("cells.paint3"));
    QVERIFY(blue);
    blue->click();
    auto* grid = dialog.findChild<QTableWidget*>(QStringLiteral("cells.cells"));
    QVERIFY(grid);
    QCOMPARE(grid->rowCount(), 8);
    emit grid->cellClicked(2, 5);
    QCOMPARE(sheet.Find("cells")->cells[21], 3.0);
    QCOMPARE(grid->item(2, 5)->background().color(), LedCodeColour(3));
    list->setCurrentRow(0);
    QCOMPARE(sheet.Find("cells")->cells[0], 1.0);  // the first picture's corner
    QCOMPARE(sheet.Find("patternName")->text, std::string("corner"));
    QVERIFY(sheet.Edited());
}

QTEST_MAIN(DisplaysTest)
#include "displays_test.moc"
