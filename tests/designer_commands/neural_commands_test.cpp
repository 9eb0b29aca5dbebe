// The neural network's commands headless: importing feature vectors through the
// wizard, structure edits, parameter edits, learning runs on the worker thread
// with the edits they refuse, and the project file with vectors and weights.
#include <thread>

#include "components/decision/neural_network.h"
#include "designer/command_rows.h"
#include "designer/commands_neural.h"
#include "designer/commands_window.h"
#include "designer/context_menus.h"
#include "designer_commands/doc_fixture.h"
#include "designer_commands/scripted_host.h"
#include "simulation/sim_controller.h"

namespace zor2::test {
namespace {

constexpr const char* kSeparable =
    "name,speed,weight,size,class\n"
    "a,1,10,5,Small\n"
    "b,2,20,5,small\n"
    "c,9,90,5,Large\n"
    "d,8,80,5,LARGE\n"
    "e,5,50,5,Medium\n";

/// The same features for two targets: never learned, so a run goes on until stopped.
constexpr const char* kContradictory =
    "name,x,y,class\n"
    "a,1,2,Yes\n"
    "b,1,2,No\n";

std::vector<double> Weights(const CNN& nn) {
    std::vector<double> w;
    nn.ForEachConnection([&w](const CNNConnection& c) { w.push_back(c.weight); });
    return w;
}

class NeuralTest : public DocTest {
  protected:
    NeuralTest() {
        DesignNewModule();
        // As the window holds its simulator while a network learns.
        m_sim.m_hold = [this] { return m_doc.Learning().Running(); };
    }
    ~NeuralTest() override { m_doc.Learning().Stop(); }

    /// A network dropped and filled from `csv` through "Import New".
    CModelNeuralNetwork* Imported(const char* csv) {
        auto* nn = dynamic_cast<CModelNeuralNetwork*>(Add(kTypeNeuralNetwork));
        EXPECT_NE(nn, nullptr);
        m_file.Write(csv);
        m_host.m_path = m_file.Path();
        EXPECT_EQ(RunCommand(m_ctx, kCmdImportVectors), ECmd::Done);
        return nn;
    }
    /// Waits for the worker to have finished `passes` passes.
    void AwaitPasses(const CModelNeuralNetwork& nn, int32_t passes) {
        while (nn.Trainer().m_progress.iterations.load() < passes) std::this_thread::yield();
    }

    CScriptedHost m_host;
    CSimController m_sim{m_doc.System()};
    CCommandContext m_ctx{m_doc, m_host, &m_sim};
    CTempFile m_file{"vectors.csv"};
};

TEST_F(NeuralTest, ImportNewBuildsTheNetworkFromTheFile) {
    const size_t levels = Levels() + 2;  // the drop and the import
    CModelNeuralNetwork* nn = Imported(kSeparable);
    const CNN& net = nn->Network();
    // Inputs carry the column indexes as ids; outputs are matched without regard to case.
    std::vector<std::pair<int32_t, std::string>> inputs;
    for (const CModelInput* in : nn->m_inputs) inputs.emplace_back(in->m_id, in->m_name);
    EXPECT_EQ(inputs,
              (std::vector<std::pair<int32_t, std::string>>{{1, "speed"}, {2, "weight"}, {3, "size"}}));
    std::vector<std::string> outputs;
    for (const CModelOutput* out : nn->m_outputs) {
        outputs.push_back(out->m_name);
        EXPECT_EQ(out->m_dataType, kDataNeuralNode);
    }
    EXPECT_EQ(outputs, (std::vector<std::string>{"Small", "Large", "Medium"}));
    EXPECT_EQ(nn->m_maxInputs, 3);
    EXPECT_EQ(nn->m_maxOutputs, 3);
    ASSERT_EQ(net.m_processors.size(), 3u + 2u * 3u);
    for (const CNNProcessorNeuron& p : net.m_processors) EXPECT_EQ(p.connections.size(), 3u);
    for (const CNNOutputNeuron& o : net.m_outputs) EXPECT_EQ(o.connections.size(), 9u);
    ASSERT_EQ(net.m_vectors.size(), 5u);
    EXPECT_EQ(net.m_vectors[1].name, "b");
    EXPECT_EQ(net.m_vectors[1].targetId, net.m_vectors[0].targetId);
    EXPECT_EQ(net.m_vectors[3].features[1].value, 80.0);
    // The constant column gets a range around its value instead of none.
    EXPECT_EQ(net.m_sensory[2].minimum, 5.0 - 5.0 * double(0.05f));
    EXPECT_EQ(net.m_sensory[0].range, 8.0);
    EXPECT_EQ(TopLine(), "Done configuring NN: " + nn->m_name);
    EXPECT_EQ(Sys().Feedback().build.Line(1), "Added NN vector 5: e, with target output: Medium");
    EXPECT_EQ(Levels(), levels);
    EXPECT_FALSE(RunCommand(m_ctx, kCmdNetworkAddInput) == ECmd::Done);  // the inputs are full now

    // Importing again asks first; No changes nothing.
    Answer({EAnswer::No});
    EXPECT_EQ(RunCommand(m_ctx, kCmdImportVectors), ECmd::Cancelled);
    EXPECT_EQ(
        LastQuestion(),
        "This neural network component already has 5 vectors. If you continue, these vectors will be replaced and the neural network will be restructured to support the new vectors. Do you want to continue?");
    EXPECT_EQ(nn->Network().m_vectors.size(), 5u);
}

TEST_F(NeuralTest, AFileWithoutFeaturesIsRefusedAndChangesNothing) {
    CModelNeuralNetwork* nn = Imported(kSeparable);
    const std::vector<double> weights = Weights(nn->Network());
    m_file.Write("name,class\na,x\n");
    Answer({EAnswer::Yes});
    EXPECT_EQ(RunCommand(m_ctx, kCmdImportVectors), ECmd::Refused);
    EXPECT_NE(LastMessage().find("at least one feature"), std::string::npos) << LastMessage();
    EXPECT_EQ(Weights(nn->Network()), weights);
    EXPECT_EQ(nn->m_inputs.Size(), 3u);
}

TEST_F(NeuralTest, StructureEditsAskAboutVectorsAndExtendThem) {
    CModelNeuralNetwork* nn = Imported(kSeparable);
    nn->m_maxInputs = -1;
    nn->m_maxOutputs = -1;
    struct Case {
        int command;
        const char* question;  // empty: asks nothing
        size_t inputs, outputs, processors, features;
    } cases[] = {
        {kCmdNetworkAddInput,
         "This Neural Network has 5 existing feature vectors. If you add an input, these feature vectors will be modified to support the new feature. Any vectors learned will likely need to be re-learned. Continue?",
         4, 3, 9, 4},
        {kCmdNetworkAddOutput,
         "This Neural Network has 5 existing feature vectors. If you add a new output, these feature vectors will be modified to support the new output decision. Any vectors learned will likely need to be re-learned. Continue?",
         4, 4, 9, 4},
        {kCmdNetworkAddProcessor, "", 4, 4, 10, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const size_t levels = Levels();
        if (*c.question) Answer({EAnswer::Yes});
        EXPECT_EQ(RunCommand(m_ctx, c.command), ECmd::Done);
        if (*c.question) {
            EXPECT_EQ(LastQuestion(), c.question);
        }
        EXPECT_EQ(nn->m_inputs.Size(), c.inputs);
        EXPECT_EQ(nn->m_outputs.Size(), c.outputs);
        EXPECT_EQ(nn->Network().m_processors.size(), c.processors);
        for (const CNNFeatureVector& v : nn->Network().m_vectors) EXPECT_EQ(v.features.size(), c.features);
        EXPECT_EQ(Levels(), levels + 1);
    }
    EXPECT_EQ(nn->LastInput()->m_name, "Input 4");
    EXPECT_EQ(nn->LastOutput()->m_name, "Output 4");
    // Deleting the inputs rebuilds the network for the ones that remain: none.
    Answer({EAnswer::Yes});
    EXPECT_EQ(RunCommand(m_ctx, kCmdDeleteAllInputs), ECmd::Done);
    EXPECT_TRUE(nn->Network().m_sensory.empty());
    for (const CNNProcessorNeuron& p : nn->Network().m_processors) EXPECT_TRUE(p.connections.empty());
    for (const CNNFeatureVector& v : nn->Network().m_vectors) EXPECT_TRUE(v.features.empty());
}

TEST_F(NeuralTest, ParameterBoxesTakeOnlyValuesInRange) {
    CModelNeuralNetwork* nn = Imported(kSeparable);
    struct Case {
        int field;
        const char* text;
        ECmd result;
        const char* shown;
    } cases[] = {
        {kCmdLearnRate, "0.01", ECmd::Refused, "0.20"},   {kCmdLearnRate, "0.02", ECmd::Done, "0.02"},
        {kCmdLearnRate, "0.5", ECmd::Done, "0.50"},       {kCmdLearnRate, "abc", ECmd::Refused, "0.20"},
        {kCmdTargetLoser, "0.95", ECmd::Refused, "0.20"}, {kCmdTargetLoser, "0.1", ECmd::Done, "0.10"},
        {kCmdTargetWinner, "0.2", ECmd::Refused, "0.90"}, {kCmdTargetWinner, "1", ECmd::Done, "1.00"},
        {kCmdTolerance, "0.2", ECmd::Refused, "0.02"},    {kCmdTolerance, "0.05", ECmd::Done, "0.05"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.field) + " " + c.text);
        nn->Trainer().m_params = {};
        EXPECT_EQ(ApplyField(m_ctx, c.field, {.text = c.text}), c.result);
        CCommandValue shown;
        ASSERT_TRUE(FindFieldCommand(c.field)->shown(m_ctx, shown));
        EXPECT_EQ(shown.text, c.shown);
    }
    EXPECT_TRUE(m_prompter.m_messages.empty());  // refused without a word
}

TEST_F(NeuralTest, ALearningRunRefusesEditsAndStopsWithAConsistentNetwork) {
    CModelNeuralNetwork* nn = Imported(kContradictory);
    const size_t levels = Levels();
    ASSERT_EQ(RunCommand(m_ctx, kCmdStartLearning), ECmd::Done);
    ASSERT_TRUE(m_doc.Learning().Running());
    AwaitPasses(*nn, 1);
    const std::string refusal = LearningRefusal(*nn);
    CTempFile saved("saved.zr2");
    m_host.m_path = saved.Path();
    const int refused[] = {kCmdSave,
                           kCmdSaveAs,
                           kCmdUndo,
                           kCmdRun,
                           kCmdRunOnce,
                           kCmdExportRuntime,
                           kCmdNetworkAddProcessor,
                           kCmdDeleteAllVectors,
                           kCmdImportVectors,
                           kCmdEraseKnowledge,
                           kCmdDeleteComponent,
                           kCmdComponentProperties,
                           kCmdExposeAllInputs};
    for (int id : refused) {
        SCOPED_TRACE(id);
        m_prompter.m_messages.clear();
        EXPECT_EQ(RunCommand(m_ctx, id), ECmd::Refused);
        EXPECT_EQ(LastMessage(), refusal);
    }
    EXPECT_EQ(ApplyField(m_ctx, kCmdLearnRate, {.text = "0.3"}), ECmd::Refused);
    EXPECT_EQ(EditObject(m_ctx, {.kind = EHit::Component, .component = nn}), ECmd::Refused);
    const CHit hit{.kind = EHit::Component, .component = nn};
    EXPECT_EQ(RunMenuAction(m_ctx, hit, *FindMenuAction(EHit::Component, "Delete")), ECmd::Refused);
    EXPECT_EQ(m_sim.Run(), false);  // the peer's start is held off too
    EXPECT_FALSE(std::filesystem::exists(saved.Path()));
    // The view's own options still work.
    EXPECT_EQ(RunCommand(m_ctx, kCmdPaneFeedback), ECmd::Done);

    ASSERT_EQ(RunCommand(m_ctx, kCmdStopLearning), ECmd::Done);
    EXPECT_FALSE(m_doc.Learning().Running());
    EXPECT_EQ(Levels(), levels + 1);  // the weights learned are one undo level
    // Whole passes only: no change is pending and every flag fits the weights.
    CNN& net = nn->Network();
    for (const CNNOutputNeuron& o : net.m_outputs)
        for (const CNNConnection& c : o.connections) EXPECT_EQ(c.change, 0.0);
    std::vector<bool> flags;
    for (const CNNFeatureVector& v : net.m_vectors) flags.push_back(v.learned);
    const int32_t learned = nn->Trainer().m_progress.learned;
    nn->EvaluateVectors();
    for (size_t i = 0; i < flags.size(); ++i) EXPECT_EQ(net.m_vectors[i].learned, flags[i]);
    EXPECT_EQ(nn->Trainer().m_progress.learned.load(), learned);
    EXPECT_EQ(RunCommand(m_ctx, kCmdSaveAs), ECmd::Done);
}

TEST_F(NeuralTest, ARunThatLearnsEverythingEndsByItselfAlikeForOneSeed) {
    std::vector<double> weights[2];
    for (int run = 0; run < 2; ++run) {
        CLcgRandom random(99);
        Sys().SetRandom(&random);
        CModelNeuralNetwork* nn = Imported(kSeparable);
        const size_t levels = Levels();
        ASSERT_EQ(RunCommand(m_ctx, kCmdStartLearning), ECmd::Done);
        while (!m_doc.PollLearning()) std::this_thread::yield();
        EXPECT_EQ(Levels(), levels + 1);
        EXPECT_TRUE(m_doc.IsModified());
        for (const CNNFeatureVector& v : nn->Network().m_vectors) EXPECT_TRUE(v.learned) << v.name;
        const CNNPaneFields f = NNPaneFields(*nn);
        EXPECT_EQ(f.totalVectors, "5");
        EXPECT_EQ(f.learned, "5");
        EXPECT_NE(f.iterations, "0");
        weights[run] = Weights(nn->Network());
        Sys().SetRandom(&m_random);
        Select(nn);
        Answer({EAnswer::Yes});
        ASSERT_EQ(DeleteComponent(m_doc), ECmd::Done);
    }
    EXPECT_EQ(weights[0], weights[1]);
}

TEST_F(NeuralTest, TheProjectKeepsVectorsAndWeightsByteForByte) {
    CModelNeuralNetwork* nn = Imported(kSeparable);
    nn->BeginLearning();
    nn->Trainer().m_progress.running = true;
    for (int i = 0; i < 3; ++i) nn->LearnPass();
    nn->EndLearning();
    CTempFile first("first.zr2");
    ASSERT_TRUE(m_doc.SaveAs(first.Path()));

    const std::string bytes = first.Read();

    Czor2Doc other;
    other.SetPrompter(&m_prompter);
    ASSERT_TRUE(other.Open(first.Path()));
    // Saved again under its own name (Save As would rename the system after the new file).
    ASSERT_TRUE(other.Save());
    EXPECT_EQ(first.Read(), bytes);
    const auto* loaded = dynamic_cast<const CModelNeuralNetwork*>(
        other.System().m_modules.Head()->m_components.Find(nn->m_id));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(Weights(loaded->Network()), Weights(nn->Network()));
    EXPECT_EQ(NNVectorRow(*loaded, 2), NNVectorRow(*nn, 2));
}

TEST_F(NeuralTest, ADamagedConnectionRecordIsRefusedNamingTheComponent) {
    CModelNeuralNetwork* nn = Imported(kSeparable);
    nn->Network().m_outputs[1].connections[2].sourceId = 31999;  // no processor has it
    CTempFile damaged("damaged.zr2");
    ASSERT_TRUE(m_doc.SaveAs(damaged.Path()));

    Czor2Doc other;
    other.SetPrompter(&m_prompter);
    const int32_t systemId = other.System().m_systemId;
    EXPECT_FALSE(other.Open(damaged.Path()));
    EXPECT_NE(LastMessage().find("neural network component \"" + nn->m_name + "\" is damaged"),
              std::string::npos)
        << LastMessage();
    EXPECT_NE(LastMessage().find("The current project was kept unchanged."), std::string::npos);
    EXPECT_EQ(other.System().m_systemId, systemId);
}

TEST_F(NeuralTest, TheVectorListShowsTargetsActivationsAndFeatures) {
    CModelNeuralNetwork* nn = Imported(kSeparable);
    EXPECT_EQ(NNVectorColumns(*nn), (std::vector<std::string>{"Name", "Target Output", "Actual Output",
                                                              "speed", "weight", "size"}));
    CNNFeatureVector& v = nn->Network().m_vectors[0];
    struct Case {
        bool learned;
        int32_t targetId;
        std::vector<std::string> row;
    } cases[] = {
        {true, v.targetId, {"a (L)", "Small", "[0.250]", "1.000", "10.000", "5.000"}},
        {false, v.targetId, {"a", "Small", "0.250", "1.000", "10.000", "5.000"}},
        {false, 4242, {"a", "ID: 4242", "0.250", "1.000", "10.000", "5.000"}},
    };
    for (const Case& c : cases) {
        v.learned = c.learned;
        v.targetId = c.targetId;
        v.lastTargetActivation = 0.25;
        EXPECT_EQ(NNVectorRow(*nn, 0), c.row);
    }
    // Deleting the selected rows.
    SelectVectors(m_doc, {1, 3, 99});
    EXPECT_EQ(nn->m_selectedVectors, (std::vector<size_t>{1, 3}));
    EXPECT_EQ(RunCommand(m_ctx, kCmdDeleteSelectedVectors), ECmd::Done);
    std::vector<std::string> names;
    for (const CNNFeatureVector& kept : nn->Network().m_vectors) names.push_back(kept.name);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "c", "e"}));
    Answer({EAnswer::Yes});
    EXPECT_EQ(RunCommand(m_ctx, kCmdDeleteAllVectors), ECmd::Done);
    EXPECT_TRUE(nn->Network().m_vectors.empty());
    EXPECT_EQ(RunCommand(m_ctx, kCmdStartLearning), ECmd::Unavailable);
}

}  // namespace
}  // namespace zor2::test
