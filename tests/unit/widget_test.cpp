// The Widget button: which file the shell opens for a model or a chooser answer, Download never opening
// one, the shell's result, and the address file, alone and from the main window with a selected box.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "panel_fixture.h"
#include "services/widget_command.h"

namespace quorvel::testkit {
namespace {

using Start = platform::FakeProcesses::Start;
using Opens = std::vector<Start>;
using Script = ui::HeadlessUi::Script;

const std::string kFile511 = "NORVANEEu_VRX511_Widget.widget";
const std::string kFile513 = "NORVANEEu_VRX513_Widget.widget";
const std::string kFile533 = "NORVANEEu_VRX533_Widget.widget";
const std::string kAddressFile = "C:\\ip.txt";

Script Press(int button) { return [=](ui::HeadlessHost& h) { h.Click(button); }; }
Script Choose(int radio, int button = ui::IDOK) {
  return [=](ui::HeadlessHost& h) {
    h.Item(radio).SetCheck(true);
    h.Click(button);
  };
}

class WidgetTest : public PanelTest {
 protected:
  // The command alone, owned by a stand-in for the main window.
  void Run(std::optional<std::string> address, const std::string& model) {
    ui::HeadlessHost& owner = ui.Open(ownerWindow);
    InstallDesktopWidget(owner, processes, files, address, model);
  }
  std::vector<int> Dialogs() const {
    std::vector<int> shown;
    for (const auto& run : ui.modalRuns()) shown.push_back(run.templateId);
    return shown;
  }
  const std::string* AddressFile() const { return files.File(kAddressFile); }

  ui::Dialog ownerWindow{IDD_MAIN};
};

// ---- the model's widget file, or the chooser's
struct ModelCase {
  std::string model;
  std::optional<std::string> ownFile;  // nothing: the chooser is asked (and answers its second radio)
};
void PrintTo(const ModelCase& c, std::ostream* out) { *out << '"' << c.model << '"'; }

class WidgetModel : public WidgetTest, public ::testing::WithParamInterface<ModelCase> {};

TEST_P(WidgetModel, OpensTheModelsOwnFileOrAsksTheChooser) {
  const ModelCase& c = GetParam();
  ui.OnModal(IDD_WIDGET_NOTICE, Press(ui::IDCANCEL));
  ui.OnModal(IDD_MODEL_CHOOSER, Choose(IDC_MODEL_VRX513));
  Run("192.0.2.1", c.model);
  EXPECT_EQ(processes.opens(), (Opens{{c.ownFile.value_or(kFile513), platform::kShowShow}}));
  const std::vector<int> asked = c.ownFile ? std::vector<int>{IDD_WIDGET_NOTICE}
                                            : std::vector<int>{IDD_WIDGET_NOTICE, IDD_MODEL_CHOOSER};
  EXPECT_EQ(Dialogs(), asked);
  EXPECT_TRUE(processes.starts().empty());
  EXPECT_TRUE(ui.messageBoxes().empty());
  EXPECT_TRUE(ui.errors().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Models, WidgetModel,
    ::testing::Values(ModelCase{"VRX-513", kFile513}, ModelCase{"VRX-533", kFile533}, ModelCase{"VRX-511", kFile511},
                      ModelCase{"VRX-515", "NORVANEEu_VRX515_Widget"},  // no extension
                      ModelCase{"VRX-530L", std::nullopt}, ModelCase{"", std::nullopt},
                      ModelCase{"vrx-511", std::nullopt}, ModelCase{"VRX-511 ", std::nullopt}));

// ---- the chooser's answers
struct ChooserCase {
  const char* name;
  Script answer;
  std::optional<std::string> file;  // nothing: the command ends silently
};
void PrintTo(const ChooserCase& c, std::ostream* out) { *out << c.name; }

class WidgetChooser : public WidgetTest, public ::testing::WithParamInterface<ChooserCase> {};

TEST_P(WidgetChooser, OpensTheChosenModelsFileOrEndsSilently) {
  ui.OnModal(IDD_WIDGET_NOTICE, Press(ui::IDCANCEL));
  ui.OnModal(IDD_MODEL_CHOOSER, GetParam().answer);
  Run("192.0.2.1", "VRX-530L");
  const std::optional<std::string>& file = GetParam().file;
  const Opens expected = file ? Opens{{*file, platform::kShowShow}} : Opens{};
  EXPECT_EQ(processes.opens(), expected);
  EXPECT_TRUE(ui.messageBoxes().empty());
  EXPECT_EQ(*AddressFile(), "192.0.2.1") << "written before the chooser, kept when it is cancelled";
}

INSTANTIATE_TEST_SUITE_P(
    Answers, WidgetChooser,
    ::testing::Values(ChooserCase{"First", Choose(IDC_MODEL_VRX511), kFile511},
                      ChooserCase{"Second", Choose(IDC_MODEL_VRX513), kFile513},
                      ChooserCase{"Third", Choose(IDC_MODEL_VRX533), kFile533},
                      ChooserCase{"OkWithoutChoice", Press(ui::IDOK), std::nullopt},
                      ChooserCase{"CancelAfterChoosing", Choose(IDC_MODEL_VRX511, ui::IDCANCEL), std::nullopt},
                      ChooserCase{"Escape", [](ui::HeadlessHost& h) { h.PressEscape(); }, std::nullopt},
                      ChooserCase{"CloseBox", [](ui::HeadlessHost& h) { h.Close(); }, std::nullopt}));

TEST_F(WidgetTest, TheChooserStartsWithNoModelChosen) {
  ui.DefineTemplate(IDD_MODEL_CHOOSER, [](ui::HeadlessHost& h) { h.Item(IDC_MODEL_VRX533).SetCheck(true); });
  ui.OnModal(IDD_WIDGET_NOTICE, Press(ui::IDCANCEL));
  ui.OnModal(IDD_MODEL_CHOOSER, Press(ui::IDOK));
  Run("192.0.2.1", "VRX-530L");
  EXPECT_TRUE(processes.opens().empty());
}

// ---- the engine notice
TEST_F(WidgetTest, DownloadStartsTheDownloadPageAndNeverOpensAWidgetFile) {
  ui.OnModal(IDD_WIDGET_NOTICE, Press(ui::IDOK));
  processes.QueueResult(platform::kStartFileNotFound);  // a failed start brings no message
  Run("192.0.2.1", "VRX-511");
  EXPECT_EQ(processes.starts(), (std::vector<Start>{{"explorer http://widgets.example.com/download/", 0}}));
  EXPECT_TRUE(processes.opens().empty());
  EXPECT_EQ(Dialogs(), std::vector<int>{IDD_WIDGET_NOTICE});
  EXPECT_TRUE(ui.messageBoxes().empty());
}

// ---- the shell's result: 32 and below are errors
class WidgetShellResult : public WidgetTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(WidgetShellResult, ReportsOnlyAFailedOpen) {
  ui.OnModal(IDD_WIDGET_NOTICE, Press(ui::IDCANCEL));
  processes.QueueOpenResult(GetParam());
  Run("192.0.2.1", "VRX-513");
  if (GetParam() > 32) {
    EXPECT_TRUE(ui.messageBoxes().empty());
    return;
  }
  ASSERT_EQ(Messages(), std::vector<std::string>{"Execute widget file error!"});
  EXPECT_EQ(ui.messageBoxes()[0].caption, "Warning");
  EXPECT_EQ(ui.messageBoxes()[0].icon, ui::Icon::Information);
}

INSTANTIATE_TEST_SUITE_P(Results, WidgetShellResult, ::testing::Values(0u, 2u, 31u, 32u, 33u, 42u));

// ---- the address file
TEST_F(WidgetTest, AnAddressFileThatCannotBeWrittenDoesNotStopTheInstall) {
  files.RefuseWrites(kAddressFile);
  ui.OnModal(IDD_WIDGET_NOTICE, Press(ui::IDCANCEL));
  Run("192.0.2.1", "VRX-511");
  EXPECT_EQ(processes.opens(), (Opens{{kFile511, platform::kShowShow}}));
  EXPECT_TRUE(ui.messageBoxes().empty());
}

TEST_F(WidgetTest, ATextThatIsNoAddressEmptiesTheFileInsteadOfGoingIntoIt) {
  files.Put(kAddressFile, "198.51.100.7");  // an earlier box's
  ui.OnModal(IDD_WIDGET_NOTICE, Press(ui::IDOK));
  Run("192.0.2.1\r\nhost=evil", "VRX-511");
  EXPECT_EQ(*AddressFile(), "");
}

// ---- from the main window
TEST_F(WidgetTest, WithoutASelectedRowTheButtonAsksForAServerAndWritesNothing) {
  SetBoxes({{kAlpha, BoxFields("alpha", {{"192.0.2.1", "255.255.255.0", "192.0.2.254"}})}});
  Open();
  host->Click(IDC_WIDGET);
  ASSERT_EQ(Messages(), std::vector<std::string>{"Please select a server."});
  EXPECT_EQ(ui.messageBoxes()[0].icon, ui::Icon::Warning);
  EXPECT_EQ(ui.messageBoxes()[0].ownerTemplateId, IDD_MAIN);
  EXPECT_TRUE(Dialogs().empty());
  EXPECT_TRUE(files.calls().empty());
  EXPECT_EQ(host->focusedId(), IDC_DEVICE_LIST);
}

TEST_F(WidgetTest, TheButtonWritesTheSelectedRowsAddressAndAsksForTheModelOfAListedBox) {
  SetBoxes({{kAlpha, BoxFields("alpha", {{"192.0.2.1", "255.255.255.0", "192.0.2.254"}})},
            {kBeta, BoxFields("beta", {{"198.51.100.9", "255.255.255.0", "198.51.100.1"}})}});
  Open();
  SelectAccepted(1);
  ui.OnModal(IDD_WIDGET_NOTICE, Press(ui::IDCANCEL));
  ui.OnModal(IDD_MODEL_CHOOSER, Choose(IDC_MODEL_VRX533));
  processes.QueueOpenResult(platform::kStartFileNotFound);
  host->Click(IDC_WIDGET);
  EXPECT_EQ(*AddressFile(), "198.51.100.9");
  EXPECT_EQ(processes.opens(), (Opens{{kFile533, platform::kShowShow}}));
  EXPECT_EQ(Messages(), std::vector<std::string>{"Execute widget file error!"});
  EXPECT_EQ(ui.messageBoxes()[0].ownerTemplateId, IDD_MAIN);
  EXPECT_TRUE(ui.errors().empty());
}

}  // namespace
}  // namespace quorvel::testkit
