// Tests of the "Calque" section: a missing picture told once; a picture that follows its plan.
#include <QDir>
#include <QFile>
#include <QImage>

#include "files/plan_xml.h"
#include "ui/calque_panel.h"
#include "ui/support/window_fixture.h"

namespace casavo {
namespace {

class CalqueTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Start();
  }
  QString InHome(const QString& name) const { return home_.path() + "/" + name; }
  // A plan of one wall traced over picture, named as the plan text names it.
  void WritePlan(const QString& path, const std::string& picture) {
    TCasaPlan plan;
    plan.AddWall({1000, 1000}, {5000, 1000});
    plan.Trace.path = picture;
    plan.Trace.scale = 10;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(WritePlanXml(plan)));
  }
};

TEST_F(CalqueTest, AMissingPictureIsToldOnceAndThePlanOpensWithoutIt) {
  WritePlan(InHome("maison.plan"), "scans/absent.png");
  ASSERT_TRUE(form_->OpenPlanFile(InHome("maison.plan")));
  ASSERT_EQ(script_.errors.size(), 1u);
  EXPECT_TRUE(script_.errors[0].contains(QDir::toNativeSeparators(InHome("scans/absent.png"))))
      << script_.errors[0].toStdString();
  EXPECT_EQ(Plan().WallCount, 1);
  EXPECT_FALSE(Plan().Trace.Present());
  EXPECT_TRUE(form_->Calque->pCalque->isHidden());
  // Further paints and steps say nothing more.
  DrawWall(QPoint(200, 300), QPoint(400, 300));
  EXPECT_EQ(script_.errors.size(), 1u);
}

TEST_F(CalqueTest, APictureBesideThePlanOpensAndFollowsItToAnotherFolder) {
  QDir(home_.path()).mkpath(QStringLiteral("a/scans"));
  QDir(home_.path()).mkpath(QStringLiteral("b"));
  QImage scan(60, 40, QImage::Format_RGB32);
  scan.fill(Qt::white);
  ASSERT_TRUE(scan.save(InHome("a/scans/plan.png")));
  WritePlan(InHome("a/maison.plan"), "scans/plan.png");
  ASSERT_TRUE(form_->OpenPlanFile(InHome("a/maison.plan")));
  EXPECT_TRUE(script_.errors.empty());
  EXPECT_TRUE(form_->Editor->Tracing().Loaded());
  EXPECT_FALSE(form_->Calque->pCalque->isHidden());

  script_.saveFile = InHome("b/copie.plan");
  ASSERT_TRUE(form_->mlEnregistrerSousClick());
  TCasaPlan saved;
  QFile file(InHome("b/copie.plan"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  ASSERT_TRUE(ReadPlanXml(saved, file.readAll().toStdString()));
  EXPECT_EQ(saved.Trace.path, "../a/scans/plan.png");
  EXPECT_FALSE(form_->Editor->Modified());

  form_->Editor->RemoveTrace();
  EXPECT_TRUE(form_->Calque->pCalque->isHidden());
  form_->Editor->Undo();
  EXPECT_FALSE(form_->Calque->pCalque->isHidden());
  EXPECT_TRUE(form_->Editor->Tracing().Loaded());
}

}  // namespace
}  // namespace casavo
