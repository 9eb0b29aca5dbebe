// Sample projects built through the engine's operations.
#include "support/sample_project.h"

#include <gtest/gtest.h>

#include "support/system_builder.h"

namespace zor2::test {

namespace {
CNetworkModel* Place(CNetwork& module, int32_t typeId, int32_t x, int32_t y, double value = 0.0) {
    CNetworkModel* c = module.DropComponent(typeId, x, y);
    if (c && typeId == 41) c->m_value = value;
    return c;
}
}  // namespace

void BuildSampleProject(CSystem& s) {
    s.NewProject();
    s.m_systemId = 4242;
    s.m_name = "Sample syst\u00e8me";
    s.m_thirdText = "third \U0001D11E text";  // a character outside the 16-bit plane
    s.m_description = std::string(300, 'd');  // needs the 16-bit length form
    s.m_scroll = {12, -34};
    s.m_chartBackground = 0x102030;
    s.m_chartGrid = 0x405060;
    s.m_chartData = 0x708090;
    s.m_saved1 = 7;
    s.m_saved2 = 9;

    CNetwork* a = s.CreateModule("Sensor stage", 200, 150);
    a->m_description = "reads the sensors";
    a->m_thirdText = std::string(255, 'x');  // first length that leaves the one-byte form
    a->m_display2 = false;
    a->m_saved1 = 3;
    a->m_tiePoints.flag = true;
    a->m_tiePoints.settings[0] = 1;
    a->m_tiePoints.settings[3] = -4;
    a->m_tiePoints.points.push_back({7, 9, {1, 2, 3, 4}, "tie"});
    a->m_tiePoints.points.push_back({8, 0, {}, ""});

    CNetworkModel* k1 = Place(*a, 41, 100, 100, 2.5);
    CNetworkModel* k2 = Place(*a, 41, 100, 300, -1.25);
    CNetworkModel* add = Place(*a, 21, 300, 200);
    CNetworkModel* fb = Place(*a, 56, 500, 200);
    CNetworkModel* mul = Place(*a, 23, 700, 200);
    CNetworkModel* range = Place(*a, 89, 900, 200);
    Wire(*a, *k1, *add);
    Wire(*a, *k2, *add);
    EXPECT_EQ(a->RequestConnect(*add, add->FirstOutput(), *fb, fb->FirstInput()), 0);
    Wire(*a, *fb, *mul);
    EXPECT_EQ(a->RequestConnect(*mul, mul->FirstOutput(), *range, range->FirstInput()), 0);
    CNetworkInput* gainPort = a->CreateInput("gain");
    EXPECT_EQ(a->RequestConnectModuleInput(*gainPort, *mul, nullptr), 0);
    ExposeOutput(*a, *mul, "product");
    ExposeOutput(*a, *range, "in range");
    k2->m_description = "negative offset";
    k2->m_thirdText = "k2";
    k2->m_paramInt = 5;
    k2->m_paramDouble = 0.125;
    k2->m_tolerance = 0.5;
    k2->m_displayA = true;

    CNetwork* b = s.CreateModule("Actuator stage", 500, 150);
    CNetworkModel* neg = Place(*b, 88, 200, 200);
    s.ConnectModules(*a, *b, a->m_outputs.Head(), nullptr);
    EXPECT_EQ(b->RequestConnectModuleInput(*b->m_inputs.Head(), *neg, neg->FirstInput()), 0);
    ExposeOutput(*b, *neg, "negated");

    CExternalInput* gain = s.CreateSystemInput("Gain", 1);
    gain->SetValue(3.0);
    gain->m_description = "loop gain";
    gain->m_dataFilePath = "/data/gain.csv";
    gain->m_dataColumn = 2;
    s.ConnectSystemInput(*gain, *a, gainPort);
    CExternalInput* spare = s.CreateSystemInput("Spare array", 2);
    CExternalOutput* result = s.CreateSystemOutput("Result", 1);
    s.ConnectSystemOutput(*b, *result, b->m_outputs.Head());
    CExternalOutput* loose = s.CreateSystemOutput("Loose", 1);
    loose->m_description = "not connected";

    CExternalInputCategory* sensors = s.CreateInputCategory("Sensors");
    sensors->m_secondText = "second";
    sensors->m_colour = 0x123456;
    sensors->m_flag = true;
    s.AssignCategory(*spare, *sensors);
    CExternalOutputCategory* actuators = s.CreateOutputCategory("Actuators");
    actuators->m_colour = 0x654321;
    s.AssignCategory(*loose, *actuators);

    CSimEvent* e1 = s.m_events.AddEvent(11, s.Random());
    e1->m_name = "start";
    e1->m_text = "the run begins";
    CSimEvent* e2 = s.m_events.AddEvent(0, s.Random());
    e2->m_name = "stop";

    s.m_charts.m_setting = 3;
    CChart* chart = s.m_charts.AddChart(s.Random());
    chart->Attach(a, mul, mul->FirstOutput());
    chart->m_lockLocation = true;
    chart->m_showRange = true;
    chart->m_autoScale = false;
    chart->m_min = -5.0;
    chart->m_max = 5.0;
    chart->m_majorIncrement = 1.0;
    chart->m_minorIncrement = 0.25;
    chart->m_rect = {10, 20, 0, 0};
    chart->SetSizeCode(kChartMedium);
    // A chart whose output is gone keeps its ids and is written back unchanged.
    CChart* orphan = s.m_charts.AddChart(s.Random());
    orphan->m_moduleId = 31000;
    orphan->m_componentId = 5;
    orphan->m_outputId = 10;

    CSimBehavior* rise = s.m_behaviors.AddBehavior(0, "rise", s.Random());
    rise->m_targetInputId = gain->m_id;
    rise->m_type = kBehaviorToCeiling;
    rise->m_rate = 0.5;
    rise->m_ceiling = 10.0;
    rise->m_floor = -1.0;
    CSimBehavior* jitter = s.m_behaviors.AddBehavior(0, "jitter", s.Random());
    jitter->m_targetInputId = gain->m_id;
    jitter->m_type = kBehaviorRandom;
    jitter->m_randomLow = 1.9;
    jitter->m_randomHigh = 4.2;
    jitter->m_enabled = false;

    CGraphic* g = s.m_graphics.AddGraphic(s.Random());
    g->m_rect = {0, 0, 250, 400};
    g->SetLineWidth(3);
    g->m_alignH = 1;
    g->m_alignV = 2;
    g->m_bold = true;
    g->m_handles[5] = {5, 6, 7, 8};
    g->Consolidate(*a);

    CValueWindow* vw = s.m_valueWindows.AddValueWindow(s.Random());
    vw->Attach(b, neg, neg->FirstOutput());
    vw->m_precision = 3;
    vw->m_suffix = "Hz";
    vw->m_layout[4] = {1, 1, 2, 2};
    vw->m_rect = {300, 200, 400, 248};

    s.RebuildReferences();
    s.ComputeLevels();
    for (int i = 0; i < 3; ++i) s.RunCycle();
}

}  // namespace zor2::test
