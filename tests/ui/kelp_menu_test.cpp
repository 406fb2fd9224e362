// Tests of the side accordion menu.

#include "ui/kelp_menu.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <memory>
#include <vector>

#include "ui/kelp_menu_label.h"

namespace casavo {
namespace {

// A panel 180 wide with three stacked labels.
QFrame* MakePanel() {
  auto* panel = new QFrame;
  panel->setFrameShape(QFrame::Box);
  panel->resize(180, 60);
  for (int height : {20, 30, 16}) (new QLabel("x", panel))->resize(150, height);
  return panel;
}

class KelpMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    menu_.resize(209, 600);
    for (const char* title : {"Fichier", "Action", "Mur"}) {
      menu_.LayoutContent(menu_.AddItem(MakePanel(), title, true));
    }
    menu_.show();
    menu_.Layout(true);
  }
  TkelpMenuItem* Section(int i) const { return menu_.Sections()[i]; }
  // Expanded height of a section of the fixture.
  int ExpandedHeight() const { return menu_.HeaderHeight + Section(0)->ContentHeight + 3; }

  TkelpMenu menu_;
};

TEST_F(KelpMenuTest, StacksSectionsAndTheirPanelControls) {
  const int h = ExpandedHeight();
  EXPECT_EQ(Section(0)->geometry(), QRect(12, 12, 182, h));
  EXPECT_EQ(Section(2)->geometry(), QRect(12, 12 + h + 12 + h + 12, 182, h));
  EXPECT_EQ(Section(0)->ContentHeight, 4 + 20 + 4 + 30 + 4 + 16 + 4);
  const QList<QObject*> controls = Section(0)->Panel()->children();
  EXPECT_EQ(static_cast<QWidget*>(controls[1])->y(), 28);
  EXPECT_FALSE(menu_.LayoutContent(Section(0))) << "nothing moved";
  static_cast<QWidget*>(controls[1])->hide();
  EXPECT_TRUE(menu_.LayoutContent(Section(0)));
  EXPECT_EQ(static_cast<QWidget*>(controls[2])->y(), 28);
  EXPECT_EQ(Section(2)->Panel()->geometry(), QRect(1, 22, 180, Section(2)->ContentHeight));
  EXPECT_EQ(Section(2)->Panel()->palette().color(QPalette::Window), QColor(Qt::white));
  EXPECT_EQ(static_cast<QFrame*>(Section(2)->Panel())->frameShape(), QFrame::NoFrame);
}

TEST_F(KelpMenuTest, HidingAPanelMovesLaterSectionsUpAndShowingRestoresThem) {
  const QRect third = Section(2)->geometry();
  Section(1)->Panel()->hide();
  menu_.Layout(false);
  EXPECT_TRUE(Section(1)->isHidden());
  EXPECT_EQ(Section(2)->y(), Section(0)->geometry().bottom() + 1 + 12);

  Section(1)->Panel()->show();
  menu_.Layout(false);
  EXPECT_FALSE(Section(1)->isHidden());
  EXPECT_EQ(Section(2)->geometry(), third);
}

TEST_F(KelpMenuTest, APressInTheHeaderBandFoldsAndAPressBelowDoesNot) {
  TkelpMenuItem* first = Section(0);
  const int band = menu_.HeaderHeight + 2;
  QTest::mouseClick(first->Panel(), Qt::LeftButton, {}, QPoint(50, 5));
  EXPECT_TRUE(first->WantExpanded);
  QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(50, band + 3));
  EXPECT_TRUE(first->WantExpanded);
  EXPECT_TRUE(first->Expanded);
  EXPECT_EQ(first->height(), ExpandedHeight());

  QTest::mouseClick(first, Qt::RightButton, {}, QPoint(50, band - 1));
  EXPECT_FALSE(first->Expanded);
  EXPECT_EQ(first->height(), band);
  EXPECT_EQ(Section(1)->y(), 12 + band + 12) << "the next section moves up";

  QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(50, 2));
  EXPECT_TRUE(first->Expanded);
  EXPECT_EQ(first->height(), ExpandedHeight());
}

TEST_F(KelpMenuTest, HandPointerOnlyOverTheHeaderBand) {
  TkelpMenuItem* first = Section(0);
  QTest::mouseMove(first, QPoint(40, 3));
  EXPECT_EQ(first->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(first->Panel()->cursor().shape(), Qt::ArrowCursor);
  QTest::mouseMove(first, QPoint(181, menu_.HeaderHeight + 10));  // the frame beside the panel
  EXPECT_EQ(first->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(KelpMenuTest, ScrollsToTheTopOnlyWhenSomethingChanged) {
  menu_.resize(209, 120);
  QScrollBar* bar = menu_.verticalScrollBar();
  ASSERT_GT(bar->maximum(), 40);
  bar->setValue(40);
  menu_.Layout(false);
  menu_.Resize();
  EXPECT_EQ(bar->value(), 40);

  Section(2)->Panel()->hide();
  menu_.Layout(false);
  EXPECT_EQ(bar->value(), 0);

  bar->setValue(30);
  menu_.Layout(true);
  EXPECT_EQ(bar->value(), 0) << "a forced layout always starts at the top";
}

TEST_F(KelpMenuTest, AdoptsHiddenPanelsHiddenAndFreesPanelsWithTheMenu) {
  QPointer<QWidget> panel = MakePanel();
  panel->hide();
  auto menu = std::make_unique<TkelpMenu>();
  TkelpMenuItem* section = menu->AddItem(panel, "Trou", false);
  menu->show();
  menu->Layout(false);
  EXPECT_TRUE(section->isHidden());
  EXPECT_EQ(section->y(), 0);
  menu.reset();
  EXPECT_TRUE(panel.isNull());
}

QRgb PixelAt(TkelpMenuItem* section, int x, int y) {
  section->Paint();
  return section->Image().pixel(x, y);
}

void SaveBitmap(const QString& path, QColor colour) {
  QImage image(20, 12, QImage::Format_RGB32);
  image.fill(colour);
  ASSERT_TRUE(image.save(path, "BMP")) << path.toStdString();
}

// Black pixels of the expand glyph area, as rows.
std::map<int, std::vector<int>> ChevronPixels(TkelpMenuItem* section) {
  std::map<int, std::vector<int>> rows;
  const int w = section->width();
  for (int y = 0; y < 18; ++y) {
    for (int x = w - 24; x < w - 8; ++x) {
      if (qGray(PixelAt(section, x, y)) < 60) rows[y].push_back(x);
    }
  }
  return rows;
}

class KelpMenuIconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    menu_.IconFolder = folder_.path() + "/";
    menu_.resize(209, 600);
  }
  TkelpMenuItem* Add(const QString& title, bool expanded = true) {
    TkelpMenuItem* section = menu_.AddItem(MakePanel(), title, expanded);
    menu_.Layout(true);
    return section;
  }
  QString Path(const QString& name) const { return folder_.filePath(name); }

  QTemporaryDir folder_;
  TkelpMenu menu_;
};

TEST_F(KelpMenuIconTest, FindsTheSectionIconThenTheDefaultsInTheIconFolder) {
  SaveBitmap(Path("icone Mur.bmp"), Qt::red);
  SaveBitmap(Path("icone defaut.bmp"), Qt::blue);
  SaveBitmap(Path("autre.bmp"), Qt::green);
  menu_.DefaultIconName = "autre.bmp";
  menu_.IconX = 2;
  EXPECT_EQ(PixelAt(Add("Mur"), 3, 3), QColor(Qt::red).rgb());
  EXPECT_EQ(PixelAt(Add("Trou"), 3, 3), QColor(Qt::blue).rgb());
  QFile::remove(Path("icone defaut.bmp"));
  EXPECT_EQ(PixelAt(Add("Pi\u00e8"
                        "ce"),
                    3, 3),
            QColor(Qt::green).rgb());
  EXPECT_EQ(PixelAt(Add("Objet"), 1, 3), menu_.ItemColor.rgb()) << "drawn at IconX";
}

TEST_F(KelpMenuIconTest, WithoutAnyFileShowsTitleAndDrawnChevrons) {
  TkelpMenuItem* open = Add("Fichier", true);
  TkelpMenuItem* folded = Add("Action", false);
  EXPECT_EQ(PixelAt(open, 3, 3), menu_.ItemColor.rgb());
  EXPECT_EQ(PixelAt(open, 50, 30), QColor(Qt::black).rgb()) << "separator under the header";

  int titlePixels = 0;
  for (int x = 10; x < 80; ++x) {
    for (int y = 0; y < 18; ++y) titlePixels += qGray(PixelAt(folded, x, y)) < 60;
  }
  EXPECT_GT(titlePixels, 20);

  // Expanded: the tip of each chevron is its highest point; folded, its lowest.
  const int tip = open->width() - 16;
  const auto up = ChevronPixels(open);
  const auto down = ChevronPixels(folded);
  ASSERT_FALSE(up.empty());
  ASSERT_FALSE(down.empty());
  for (int x : up.begin()->second) EXPECT_LE(std::abs(x - tip), 2);
  for (int x : up.rbegin()->second) EXPECT_GE(std::abs(x - tip), 2);
  for (int x : down.rbegin()->second) EXPECT_LE(std::abs(x - tip), 2);
  for (int x : down.begin()->second) EXPECT_GE(std::abs(x - tip), 2);
}

TEST_F(KelpMenuIconTest, ExpandGlyphFilesReplaceTheChevrons) {
  SaveBitmap(Path("updown.bmp"), Qt::magenta);
  SaveBitmap(Path("updown1.bmp"), Qt::yellow);
  TkelpMenuItem* open = Add("Fichier", true);
  TkelpMenuItem* folded = Add("Action", false);
  EXPECT_EQ(PixelAt(open, open->width() - 39, 7), QColor(Qt::yellow).rgb());
  EXPECT_EQ(PixelAt(folded, folded->width() - 39, 7), QColor(Qt::magenta).rgb());
  EXPECT_TRUE(ChevronPixels(folded).empty());
}

TEST_F(KelpMenuIconTest, ZigzagEdgesLeaveTheMenuColourOutside) {
  menu_.ZigzagSize = 3;
  TkelpMenuItem* section = Add("Mur");
  EXPECT_EQ(PixelAt(section, 0, 0), TkelpMenu::kBackground.rgb());
  EXPECT_EQ(PixelAt(section, 3, 0), menu_.ItemColor.rgb()) << "a tooth touches the edge";
  EXPECT_EQ(PixelAt(section, section->width() / 2, section->height() / 2), menu_.ItemColor.rgb());
  EXPECT_EQ(PixelAt(section, section->width() - 1, section->height() - 1),
            TkelpMenu::kBackground.rgb());
}

TEST(KelpMenuLabelTest, LongCaptionWrapsIntoACentredBlockRightOfTheGlyph) {
  TkelpMenuLabel label;
  label.resize(100, 70);
  label.SetCaption("Aide et site Internet, avec un texte bien plus long que le label");
  const int line = label.fontMetrics().height();
  QRect text = label.TextRect();
  EXPECT_EQ(text.left(), 4);
  EXPECT_GE(text.height(), 2 * line);
  EXPECT_EQ(text.top(), (70 - text.height()) / 2);

  QPixmap glyph(16, 16);
  glyph.fill(Qt::red);
  label.SetGlyph(glyph);
  text = label.TextRect();
  EXPECT_EQ(text.left(), 20);

  QImage painted(label.size(), QImage::Format_ARGB32);
  painted.fill(Qt::transparent);
  label.render(&painted, QPoint(), QRegion(), QWidget::DrawChildren);
  int top = painted.height(), bottom = -1;
  for (int y = 0; y < painted.height(); ++y) {
    for (int x = 20; x < painted.width(); ++x) {
      if (qAlpha(painted.pixel(x, y)) > 0) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  }
  EXPECT_GT(bottom - top, line) << "the caption covers several lines";
  EXPECT_GE(top, text.top());
  EXPECT_LE(bottom, text.bottom());
  EXPECT_EQ(painted.pixel(5, 35), QColor(Qt::red).rgb()) << "glyph centred vertically";
}

TEST(KelpMenuLabelTest, HotUnderThePointerAndClickedOnRelease) {
  TkelpMenuLabel label;
  label.SetCaption("Nouveau plan");
  int clicks = 0;
  QObject::connect(&label, &TkelpMenuLabel::clicked, [&] { ++clicks; });
  label.show();

  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(&label, &enter);
  EXPECT_TRUE(label.Hot());
  EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);

  QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(10, 8));
  EXPECT_EQ(clicks, 1);
  QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(10, 8));
  QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(300, 8));
  EXPECT_EQ(clicks, 1) << "released elsewhere";
}

}  // namespace
}  // namespace casavo
