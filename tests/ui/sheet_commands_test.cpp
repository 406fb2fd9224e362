// Tests of "Exporter…" and "Imprimer…".

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>

#include "files/plan_file.h"
#include "ui/fm_exporter.h"
#include "ui/support/window_fixture.h"

namespace casavo {
namespace {

// What the user answers in the export and print dialogs, and what was asked.
struct SheetScript {
  std::optional<ExportRequest> answer;
  QString fileName;
  std::vector<ExportRequest> asked;
  std::vector<bool> printModes;
  int fileRequests = 0;
  std::vector<int32_t> printedScales;
};

class ScriptedSheetDialogs : public SheetDialogs {
 public:
  explicit ScriptedSheetDialogs(SheetScript& script) : script_(script) {}
  std::optional<ExportRequest> AskSheet(TCasaPlan&, const ExportRequest& initial,
                                        bool print) override {
    script_.asked.push_back(initial);
    script_.printModes.push_back(print);
    return script_.answer;
  }
  QString AskFileName(const QString&, ExportFormat) override {
    ++script_.fileRequests;
    return script_.fileName;
  }
  bool Print(const Sheet& sheet) override {
    script_.printedScales.push_back(sheet.Layout().scale);
    return true;
  }

 private:
  SheetScript& script_;
};

// Signed in as Camille; nothing else of the online part is used.
class SignedIn : public OnlineService {
 public:
  QWidget* WebView() override { return nullptr; }
  void NavigateHome(bool) override {}
  void LoadPlanCommand() override {}
  void SavePlanCommand() override {}
  QString SignedInUser() const override { return QStringLiteral("Camille"); }
};

class SheetCommandsTest : public WindowTest {
 protected:
  void Start(std::unique_ptr<OnlineService> online = nullptr) {
    WindowTest::Start(std::move(online));
    form_->SetSheetDialogs(std::make_unique<ScriptedSheetDialogs>(sheet_));
  }
  void LoadHouse() {
    ASSERT_TRUE(LoadPlanFile(Plan(), CASAVO_SOURCE_DIR "/examples/maison_familiale.plan"));
  }
  static ExportRequest Answer(ExportFormat format, int32_t scale) {
    ExportRequest request;
    request.format = format;
    request.options.paper.scale = scale;
    return request;
  }

  SheetScript sheet_;
};

TEST_F(SheetCommandsTest, ExportWritesEachFormatFromTheEditorsDisplay) {
  Start(std::make_unique<SignedIn>());
  LoadHouse();
  Plan().ShowRooms = true;
  Plan().ShowDimensions = false;
  Plan().ShowProblems = true;
  const std::pair<ExportFormat, QByteArray> formats[] = {{ExportFormat::kPdf, "%PDF-"},
                                                         {ExportFormat::kSvg, "<?xml"},
                                                         {ExportFormat::kPng, "\x89PNG"},
                                                         {ExportFormat::kCsv,
                                                          "Pi\xC3\xA8"
                                                          "ce;"}};
  for (const auto& [format, start] : formats) {
    sheet_.answer = Answer(format, 100);
    sheet_.fileName = home_.filePath("plan." + ExportExtension(format));
    Click(form_->mlExporter);
    QFile file(sheet_.fileName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << sheet_.fileName.toStdString();
    EXPECT_EQ(file.read(start.size()), start) << sheet_.fileName.toStdString();
  }
  // The first dialog opened on what the editor shows, problems left out.
  ASSERT_EQ(sheet_.asked.size(), 4u);
  EXPECT_TRUE(sheet_.asked[0].options.rooms);
  EXPECT_FALSE(sheet_.asked[0].options.dimensions);
  EXPECT_FALSE(sheet_.asked[0].options.problems);
  EXPECT_EQ(sheet_.asked[0].options.author, QStringLiteral("Camille"));
  EXPECT_EQ(sheet_.printModes, std::vector<bool>(4, false));
  EXPECT_TRUE(script_.errors.empty());
}

TEST_F(SheetCommandsTest, CancelsAndAnEmptyPlanWriteNothing) {
  Start();
  Click(form_->mlExporter);  // empty plan: said, and no dialog
  EXPECT_EQ(script_.errors.size(), 1u);
  EXPECT_TRUE(sheet_.asked.empty());

  LoadHouse();
  Click(form_->mlExporter);  // the dialog cancelled: no file asked for
  EXPECT_EQ(sheet_.asked.size(), 1u);
  EXPECT_EQ(sheet_.fileRequests, 0);

  sheet_.answer = Answer(ExportFormat::kPdf, 100);
  Click(form_->mlExporter);  // the file dialog cancelled
  EXPECT_EQ(sheet_.fileRequests, 1);

  sheet_.answer = Answer(ExportFormat::kPdf, 50);  // too large for A4
  sheet_.fileName = home_.filePath("refused.pdf");
  Click(form_->mlExporter);
  EXPECT_FALSE(QFile::exists(sheet_.fileName));
  ASSERT_EQ(script_.errors.size(), 2u);
  EXPECT_TRUE(script_.errors[1].contains("1:100")) << script_.errors[1].toStdString();
}

TEST_F(SheetCommandsTest, CtrlPPrintsAndTheNextDialogOpensOnTheLastChoice) {
  Start();
  LoadHouse();
  sheet_.answer = Answer(ExportFormat::kPdf, 200);
  sheet_.answer->options.problems = true;
  form_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
  QTest::keyClick(form_->Editor, Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(sheet_.printModes, std::vector<bool>{true});
  EXPECT_EQ(sheet_.printedScales, std::vector<int32_t>{200});

  Click(form_->mlImprimer);
  ASSERT_EQ(sheet_.asked.size(), 2u);
  EXPECT_TRUE(sheet_.asked[1].options.author.isEmpty());  // not signed in
  EXPECT_EQ(sheet_.asked[1].options.paper.scale, 200);
  EXPECT_TRUE(sheet_.asked[1].options.problems);
}

TEST_F(SheetCommandsTest, DialogRefusesAScaleThatDoesNotFitAndOffersOneThatDoes) {
  Start();
  LoadHouse();
  ExportRequest initial = Answer(ExportFormat::kPng, 50);
  initial.options.title = QStringLiteral("Maison");
  TfmExporter dialog(Plan(), initial, false);
  EXPECT_FALSE(dialog.bOk->isEnabled());
  EXPECT_FALSE(dialog.bProposee->isHidden());
  EXPECT_EQ(dialog.bProposee->text(), QString::fromUtf8("Passer à 1:100"));
  EXPECT_TRUE(dialog.cbResolution->isEnabled());

  dialog.bProposee->click();
  EXPECT_TRUE(dialog.bOk->isEnabled());
  EXPECT_TRUE(dialog.bProposee->isHidden());
  EXPECT_FALSE(dialog.lApercu->pixmap().isNull());
  dialog.cbProblemes->setChecked(true);
  dialog.cbFormat->setCurrentIndex(dialog.cbFormat->findData(int(ExportFormat::kSvg)));
  EXPECT_FALSE(dialog.cbResolution->isEnabled());

  const ExportRequest chosen = dialog.Request();
  EXPECT_EQ(chosen.options.paper.scale, 100);
  EXPECT_TRUE(chosen.options.problems);
  EXPECT_EQ(chosen.format, ExportFormat::kSvg);
  EXPECT_EQ(chosen.options.title, QStringLiteral("Maison"));
}

}  // namespace
}  // namespace casavo
