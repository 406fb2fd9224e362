// Tests of the XML plan text: reading, writing, round trips.

#include "files/plan_xml.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>

namespace casavo {
namespace {

// A plan as the editor leaves it: a room with a door and a window, objects,
// the room named, typed and coloured, and its own view.
void DrawSample(TCasaPlan& plan) {
  plan.DefaultThickness = 200;
  plan.AddWall({5000, 5000}, {9000, 5000});
  plan.AddWall({9000, 5000}, {9000, 8000});
  plan.AddWall({9000, 8000}, {5000, 8000});
  plan.AddWall({5000, 8000}, {5000, 5000});
  plan.DefaultThickness = 250;
  plan.AddOpening(1, 900, 2000, 1, 0, 1);
  plan.AddOpening(3, 1200, 1500, 7, 3, 0);
  plan.AddObjet(6000, 6000, 1600, 2000, 90, 3, "Lit à baldaquin");
  plan.AddObjet(7000, 7000, 800, 800, 0, -1, "");
  plan.AddObjet(8000, 6500, 1200, 700, 45, 0, "Buffet « Ω » 5€");
  plan.ShowRooms = true;
  plan.RefreshGeometry();
  ASSERT_EQ(plan.RoomCount, 1);
  const std::string hash = plan.Rooms[1].hash;
  plan.RoomNames.SetValue(hash, "Séjour");
  plan.RoomKinds.SetValue(hash, "Pièce à vivre");
  plan.RoomColours.SetValue(hash, "FFE0C0");
  plan.x0 = 123;
  plan.y0 = -45;
  plan.zx = 0.05;
  plan.zy = 0.125;
}

std::string Document(const std::string& view, const std::string& plan) {
  return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<Casavo version=\"2.2\">" + view +
         "<plan>" + plan + "</plan></Casavo>";
}

std::string Document(const std::string& plan) {
  return Document("<affichage><x0>1</x0><y0>2</y0><zx>0.05</zx><zy>0.05</zy></affichage>", plan);
}

TEST(PlanXml, EmptyPlanDocument) {
  const TCasaPlan plan;
  EXPECT_EQ(WritePlanXml(plan),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
            "<Casavo version=\"2.2\" decimal=\".\">\r\n"
            "  <affichage>\r\n"
            "    <x0>0</x0>\r\n"
            "    <y0>0</y0>\r\n"
            "    <zx>1</zx>\r\n"
            "    <zy>1</zy>\r\n"
            "  </affichage>\r\n"
            "  <plan>\r\n"
            "    <murs nbre=\"0\"/>\r\n"
            "    <trous nbre=\"0\"/>\r\n"
            "    <objets nbre=\"0\"/>\r\n"
            "  </plan>\r\n"
            "</Casavo>\r\n");
}

TEST(PlanXml, ElementsAndAttributesAsWritten) {
  TCasaPlan plan;
  DrawSample(plan);
  const std::string text = WritePlanXml(plan);
  const auto has = [&](const std::string& part) {
    EXPECT_NE(text.find(part), std::string::npos) << part;
  };
  has("<x0>123</x0>\r\n    <y0>-45</y0>\r\n    <zx>0.05</zx>\r\n    <zy>0.125</zy>");
  has("<murs nbre=\"4\">\r\n      <mur id=\"1\" x1=\"5000\" y1=\"5000\" x2=\"9000\" y2=\"5000\" "
      "epais=\"200\"/>");
  has("<mur id=\"3\" x1=\"9000\" y1=\"8000\" x2=\"5000\" y2=\"8000\" epais=\"200\"/>");
  has("<trou id=\"2\" imur=\"3\" large=\"1200\" dcoin1=\"1500\" sorte=\"7\" volet=\"3\" "
      "cote=\"0\"/>");
  // groupe only from 0 up, nom only when not empty.
  has("<objet id=\"1\" x=\"6000\" y=\"6000\" l=\"1600\" h=\"2000\" a=\"90\" groupe=\"3\" "
      "nom=\"Lit \xE0 baldaquin\"/>");
  has("<objet id=\"2\" x=\"7000\" y=\"7000\" l=\"800\" h=\"800\" a=\"0\"/>");
  has("<objet id=\"3\" x=\"8000\" y=\"6500\" l=\"1200\" h=\"700\" a=\"45\" groupe=\"0\" "
      "nom=\"Buffet \xAB &#937; \xBB 5&#8364;\"/>");
  has("<pieces nbre=\"1\">\r\n      <piece id=\"1\" hash=\"" + plan.Rooms[1].hash +
      "\" nom=\"S\xE9jour\" sorte=\"Pi\xE8"
      "ce \xE0 vivre\" couleur=\"FFE0C0\" surface=\"10640000\"/>");
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
  EXPECT_EQ(text.find("\n\n"), std::string::npos);
}

TEST(PlanXml, RoomsRememberedWithoutDetectionAreWrittenFromTheNames) {
  TCasaPlan plan;
  plan.RoomNames.SetValue("AAA", "Cuisine");
  plan.RoomNames.SetValue("BBB", "Chambre");
  plan.RoomColours.SetValue("BBB", "C0C0FF");
  const std::string text = WritePlanXml(plan);
  EXPECT_NE(
      text.find("<pieces nbre=\"2\">\r\n"
                "      <piece id=\"1\" hash=\"AAA\" nom=\"Cuisine\" sorte=\"\" couleur=\"\"/>\r\n"
                "      <piece id=\"2\" hash=\"BBB\" nom=\"Chambre\" sorte=\"\" "
                "couleur=\"C0C0FF\"/>\r\n    </pieces>"),
      std::string::npos)
      << text;
}

TEST(PlanXml, WriteThenReadGivesTheSamePlan) {
  TCasaPlan plan;
  DrawSample(plan);
  const std::string text = WritePlanXml(plan);

  TCasaPlan back;
  const PlanReadResult result = ReadPlanXml(back, text);
  ASSERT_TRUE(result) << result.error;
  EXPECT_EQ(result.refused, 0);
  EXPECT_EQ(back.x0, 123);
  EXPECT_EQ(back.y0, -45);
  EXPECT_EQ(back.zx, 0.05);
  EXPECT_EQ(back.zy, 0.125);
  ASSERT_EQ(back.WallCount, 4);
  for (int32_t w = 1; w <= 4; ++w) {
    EXPECT_EQ(back.Corners[back.Walls[w].C1], plan.Corners[plan.Walls[w].C1]) << w;
    EXPECT_EQ(back.Corners[back.Walls[w].C2], plan.Corners[plan.Walls[w].C2]) << w;
    EXPECT_EQ(back.Walls[w].epais, 200) << w;
  }
  ASSERT_EQ(back.OpeningCount, 2);
  const TOpening& o = back.Openings[2];
  EXPECT_EQ(std::tie(o.imur, o.large, o.dcoin1, o.sorte, o.volet, o.cote),
            std::make_tuple(3, 1200, 1500, 7, 3, 0));
  EXPECT_EQ(back.Openings[1].cote, 1);
  ASSERT_EQ(back.ObjectCount, 3);
  const TObjet& bed = back.Objects[1];
  EXPECT_EQ(std::tie(bed.x, bed.y, bed.l, bed.h, bed.a, bed.groupe),
            std::make_tuple(6000, 6000, 1600, 2000, 90, 3));
  EXPECT_EQ(bed.nom, "Lit à baldaquin");
  EXPECT_EQ(back.Objects[2].groupe, -1);
  EXPECT_EQ(back.Objects[3].groupe, 0);
  EXPECT_EQ(back.Objects[3].nom, "Buffet « Ω » 5€");

  back.ShowRooms = true;
  back.RefreshGeometry();
  ASSERT_EQ(back.RoomCount, 1);
  EXPECT_EQ(back.RoomName(1), "Séjour");
  EXPECT_EQ(back.RoomKind(1), "Pièce à vivre");
  EXPECT_EQ(back.RoomColour(1), "FFE0C0");
  EXPECT_EQ(WritePlanXml(back), text);
}

TEST(PlanXml, NamesFromOlderFilesAndOddCharacters) {
  // Windows-1252 bytes under the Latin-1 declaration: 0x80 is the euro sign.
  const std::string old = Document(
      "<objets><objet nom=\"Prix \x80 \x9C\x75vre \xE9t\xE9\"/></objets>"
      "<pieces><piece hash=\"H\" nom=\"C\x9Cur\"/></pieces>");
  TCasaPlan plan;
  ASSERT_TRUE(ReadPlanXml(plan, old));
  EXPECT_EQ(plan.Objects[1].nom, "Prix € œuvre été");
  EXPECT_EQ(plan.RoomNames.Value("H"), "Cœur");

  // A control character or a broken UTF-8 byte must not make the text unreadable.
  plan.Objects[1].nom = "Tab\x01le \xC3 fin";
  TCasaPlan back;
  ASSERT_TRUE(ReadPlanXml(back, WritePlanXml(plan)));
  EXPECT_EQ(back.Objects[1].nom, "Tab?le ? fin");
}

TEST(PlanXml, NumbersIgnoreTheLocale) {
  TCasaPlan plan;
  ASSERT_TRUE(
      ReadPlanXml(plan, Document("<affichage><zx>0,05</zx><zy> 0.25 </zy></affichage>", "")));
  EXPECT_EQ(plan.zx, 0.05);
  EXPECT_EQ(plan.zy, 0.25);

  struct CommaNumbers : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return ' '; }
    std::string do_grouping() const override { return "\3"; }
  };
  const std::locale saved =
      std::locale::global(std::locale(std::locale::classic(), new CommaNumbers));
  const bool frenchC = std::setlocale(LC_ALL, "fr_FR.UTF-8") != nullptr;
  plan.zx = plan.zy = 0.05;
  plan.x0 = 12345;
  const std::string text = WritePlanXml(plan);
  TCasaPlan back;
  const bool read = ReadPlanXml(back, text);
  std::setlocale(LC_ALL, "C");
  std::locale::global(saved);

  EXPECT_NE(text.find("<x0>12345</x0>"), std::string::npos);
  EXPECT_NE(text.find("<zx>0.05</zx>"), std::string::npos) << (frenchC ? "fr_FR" : "C");
  ASSERT_TRUE(read);
  EXPECT_EQ(back.zx, 0.05);
}

TEST(PlanXml, AreaUsesTheRegionalSeparator) {
  TCasaPlan plan;
  plan.RoomCount = 1;
  plan.Rooms[1].hash = "H";
  plan.Rooms[1].surface = 1234.5;
  EXPECT_NE(WritePlanXml(plan).find("surface=\"1234.5\""), std::string::npos);
  if (!std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) GTEST_SKIP() << "no French locale here";
  const std::string text = WritePlanXml(plan);
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_NE(text.find("surface=\"1234,5\""), std::string::npos);
}

TEST(PlanXml, ZoomFactors) {
  TCasaPlan plan;
  const auto zoom = [&](const std::string& zx) {
    plan.zx = plan.zy = 9;
    const auto result =
        ReadPlanXml(plan, Document("<affichage><zx>" + zx + "</zx><zy>0.8</zy></affichage>", ""));
    EXPECT_EQ(plan.zy, 0.8) << zx;
    return result ? plan.zx : -1.0;
  };
  EXPECT_EQ(zoom("0.125"), 0.125);
  // Nothing could be drawn or hit at these: the plan comes back at the usual zoom.
  for (const char* absurd : {"0", "-0.05", "nan", "inf", "1e-300", "1e300"})
    EXPECT_EQ(zoom(absurd), 0.05) << absurd;

  for (const std::string view :
       {"<affichage><zx>abc</zx><zy>1</zy></affichage>", "<affichage><zx>1</zx></affichage>", ""}) {
    const auto result = ReadPlanXml(plan, Document(view, ""));
    EXPECT_FALSE(result) << view;
    EXPECT_FALSE(result.error.empty());
  }
}

TEST(PlanXml, MissingPartsTakeTheirDefaults) {
  TCasaPlan plan;
  plan.x0 = plan.y0 = 7;
  plan.AddObjet(1, 2, 3, 4, 5, 6, "x");
  ASSERT_TRUE(ReadPlanXml(plan,
                          "<?xml version=\"1.0\"?><Casavo><affichage><y0>9x</y0><zx>1</zx>"
                          "<zy>2</zy></affichage></Casavo>"));
  EXPECT_EQ(plan.x0, 0);
  EXPECT_EQ(plan.y0, 0);
  EXPECT_EQ(plan.zy, 2);
  EXPECT_EQ(plan.ObjectCount, 0);
}

TEST(PlanXml, ObjectAttributesTakeTheirOwnDefaults) {
  TCasaPlan plan;
  ASSERT_TRUE(ReadPlanXml(plan, Document("<objets><objet x=\"100\" y=\"200\"/>"
                                         "<objet l=\"abc\" h=\"700\" a=\"30\" groupe=\"4\"/>"
                                         "</objets>")));
  ASSERT_EQ(plan.ObjectCount, 2);
  const TObjet& a = plan.Objects[1];
  EXPECT_EQ(std::tie(a.x, a.y, a.l, a.h, a.a, a.groupe),
            std::make_tuple(100, 200, 600, 600, 0, -1));
  EXPECT_EQ(a.nom, "");
  const TObjet& b = plan.Objects[2];
  EXPECT_EQ(std::tie(b.x, b.y, b.l, b.h, b.a, b.groupe), std::make_tuple(0, 0, 600, 700, 30, 4));
}

TEST(PlanXml, RoomAttributesAreStoredByKey) {
  TCasaPlan plan;
  plan.RoomNames.SetValue("H1", "Ancien nom");
  plan.RoomKinds.SetValue("H1", "Chambre");
  ASSERT_TRUE(ReadPlanXml(plan, Document("<pieces nbre=\"9\">"
                                         "<piece hash=\"H1\" nom=\"\" surface=\"12\"/>"
                                         "<piece nom=\"Sans clé\"/>"
                                         "<piece hash=\"H2\" nom=\"Bureau\" sorte=\"Travail\" "
                                         "couleur=\"00FF00\"/>"
                                         "</pieces>")));
  EXPECT_EQ(plan.RoomNames.Value("H1"), "");
  EXPECT_EQ(plan.RoomKinds.Value("H1"), "");
  EXPECT_EQ(plan.RoomColours.Value("H1"), "F0F0F0");
  EXPECT_EQ(plan.RoomNames.Value("H2"), "Bureau");
  EXPECT_EQ(plan.RoomKinds.Value("H2"), "Travail");
  EXPECT_EQ(plan.RoomColours.Value("H2"), "00FF00");
  EXPECT_EQ(plan.RoomNames.Count(), 1);
}

std::string Wall(int x1, int y1, const std::string& end, const std::string& epais = "") {
  return "<mur x1=\"" + std::to_string(x1) + "\" y1=\"" + std::to_string(y1) + "\" " + end +
         (epais.empty() ? "" : " epais=\"" + epais + "\"") + "/>";
}

std::string Opening(const std::string& imur, const std::string& cote = "cote=\"0\"") {
  return "<trou imur=\"" + imur + "\" large=\"800\" dcoin1=\"500\" sorte=\"1\" volet=\"0\" " +
         cote + "/>";
}

TEST(PlanXml, SkippedWallsShiftTheWallIndicesOfOpenings) {
  TCasaPlan plan;
  ASSERT_TRUE(ReadPlanXml(
      plan, Document("<murs>" + Wall(5000, 5000, "x2=\"6000\" y2=\"5000\"") +
                     Wall(5000, 7000, "y2=\"7000\"", "100") +
                     Wall(5000, 9000, "x2=\"6000\" y2=\"9000\"", "120") +
                     Wall(5000, 0, "x2=\"99999999999\" y2=\"0\"") + "</murs><trous>" +
                     Opening("2") + Opening("1", "") + Opening("3") + Opening("-5") + "</trous>")));
  ASSERT_EQ(plan.WallCount, 2);
  EXPECT_EQ(plan.Walls[1].epais, 250);
  EXPECT_EQ(plan.Corners[plan.Walls[2].C1], (TPoint{5000, 9000}));
  EXPECT_EQ(plan.Walls[2].epais, 120);
  ASSERT_EQ(plan.OpeningCount, 1);
  EXPECT_EQ(plan.Openings[1].imur, 2);
}

TEST(PlanXml, CrossingWallsKeepTheirOwnThickness) {
  TCasaPlan plan;
  ASSERT_TRUE(
      ReadPlanXml(plan, Document("<murs>" + Wall(5000, 6000, "x2=\"7000\" y2=\"6000\"", "100") +
                                 Wall(6000, 5000, "x2=\"6000\" y2=\"7000\"", "300") + "</murs>")));
  ASSERT_EQ(plan.WallCount, 4);
  for (int32_t w = 1; w <= 4; ++w) {
    const bool horizontal = plan.Corners[plan.Walls[w].C1].y == plan.Corners[plan.Walls[w].C2].y;
    EXPECT_EQ(plan.Walls[w].epais, horizontal ? 100 : 300) << w;
  }
}

// A free end stopping just short of a slanted wall, its end face reaching
// into the wall's paint, closes a triangle: read, in either text form, it is
// joined to the slanted wall, which is cut there, and the room is found. An
// end whose face stays short of the wall is left as written.
TEST(PlanXml, AFreeEndPokingIntoALinkedWallIsJoinedOnReading) {
  struct Case {
    int32_t freeEnd, walls, rooms;
  };
  for (const Case c : {Case{15000, 4, 1}, Case{14800, 3, 0}}) {
    const std::string x = std::to_string(c.freeEnd);
    const std::string texts[] = {
        "x0=0\r\ny0=0\r\nzx=0.05\r\nzy=0.05\r\nMur1=" + x +
            ",5500,14000,5500,120\r\nMur2=14000,5500,14000,5900,120\r\n"
            "Mur3=14000,5900,17000,5000,120\r\n",
        Document("<murs>" + Wall(c.freeEnd, 5500, "x2=\"14000\" y2=\"5500\"", "120") +
                 Wall(14000, 5500, "x2=\"14000\" y2=\"5900\"", "120") +
                 Wall(14000, 5900, "x2=\"17000\" y2=\"5000\"", "120") + "</murs>")};
    for (const std::string& text : texts) {
      TCasaPlan plan;
      ASSERT_TRUE(ReadPlanXml(plan, text));
      plan.ShowRooms = true;
      plan.RefreshGeometry();
      EXPECT_EQ(plan.WallCount, c.walls) << text;
      EXPECT_EQ(plan.RoomCount, c.rooms) << text;
    }
  }
}

TEST(PlanXml, WhatTheTablesCannotHoldIsRefusedAndReported) {
  std::string walls, objects;
  for (int i = 0; i < 2005; ++i)
    walls +=
        Wall(5000, 5000 + 300 * i, "x2=\"6000\" y2=\"" + std::to_string(5000 + 300 * i) + "\"");
  for (int i = 0; i < 1003; ++i) objects += "<objet x=\"" + std::to_string(i) + "\"/>";
  TCasaPlan plan;
  const PlanReadResult result =
      ReadPlanXml(plan, Document("<murs>" + walls + "</murs><objets>" + objects + "</objets>"));
  ASSERT_TRUE(result);
  EXPECT_EQ(plan.WallCount, TCasaPlan::kMaxWalls);
  EXPECT_EQ(plan.Corners[plan.Walls[2000].C1].y, 5000 + 300 * 1999);
  EXPECT_EQ(plan.ObjectCount, TCasaPlan::kMaxObjects);
  EXPECT_EQ(result.refused, 8);
  EXPECT_EQ(result.refusal, "mur refusé : la table des murs est pleine (2000 au plus)");
}

TEST(PlanXml, BadDocumentsAreRejectedWithAReason) {
  std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE Casavo [<!ENTITY a0 \"ha\">";
  for (int level = 1; level <= 9; ++level) {
    const std::string below = "&a" + std::to_string(level - 1) + ";";
    laughs += "<!ENTITY a" + std::to_string(level) + " \"" + below + below + below + below + "\">";
  }
  laughs += "]><Casavo><plan><objets><objet nom=\"&a9;&a9;&a9;\"/></objets></plan></Casavo>";
  const std::string external =
      "<?xml version=\"1.0\"?><!DOCTYPE Casavo [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
      "<Casavo><affichage><zx>1</zx><zy>1</zy></affichage><plan><pieces><piece hash=\"&x;\"/>"
      "</pieces></plan></Casavo>";
  for (const std::string& text :
       {std::string("<?xml version=\"1.0\"?><Casavo><plan>"), std::string("<?xml \x01\x02"),
        std::string("<?xml version=\"1.0\"?><Autre><affichage><zx>1</zx><zy>1</zy></affichage>"
                    "</Autre>"),
        laughs, external}) {
    TCasaPlan plan;
    plan.AddWall({0, 0}, {1000, 0});
    const PlanReadResult result = ReadPlanXml(plan, text);
    EXPECT_FALSE(result) << text;
    EXPECT_FALSE(result.error.empty());
    EXPECT_EQ(plan.WallCount, 0);
    EXPECT_TRUE(plan.RoomNames.Empty());
  }
}

TEST(ColourText, SixUpperCaseDigitsRedFirst) {
  EXPECT_EQ(ColourToText(0xF0F0F0), "F0F0F0");
  EXPECT_EQ(ColourToText(0x12AB0C), "12AB0C");
  EXPECT_EQ(TextToColour("12ab0C"), 0x12AB0Cu);
  for (const char* bad : {"", "FFF", "1234567", "12AB0G", "-12345", " 12345"})
    EXPECT_EQ(TextToColour(bad), 0xF0F0F0u) << bad;
}

TEST(PlanXml, WallHeightIsOneElementWrittenOnlyWhenChosen) {
  TCasaPlan plan;
  DrawSample(plan);
  const std::string plain = WritePlanXml(plan);
  EXPECT_EQ(plain.find("hauteur_murs"), std::string::npos);

  plan.WallHeight = 2750;
  const std::string raised = WritePlanXml(plan);
  EXPECT_NE(raised.find("<hauteur_murs>2750</hauteur_murs>"), std::string::npos);
  // Without the element the text is the one a plan of the default height gives.
  std::string stripped = raised;
  const std::string line = "    <hauteur_murs>2750</hauteur_murs>\r\n";
  stripped.erase(stripped.find(line), line.size());
  EXPECT_EQ(stripped, plain);

  const struct {
    std::string text;
    int32_t height;
  } cases[] = {
      {raised, 2750},
      {plain, TCasaPlan::kDefaultWallHeight},
      {std::string(raised).replace(raised.find("2750"), 4, "99999"), TCasaPlan::kDefaultWallHeight},
      {std::string(raised).replace(raised.find("2750"), 4, "abc"), TCasaPlan::kDefaultWallHeight},
  };
  for (const auto& c : cases) {
    TCasaPlan read;
    read.WallHeight = 4000;
    ASSERT_TRUE(ReadPlanXml(read, c.text));
    EXPECT_EQ(read.WallHeight, c.height);
    EXPECT_EQ(read.WallCount, 4);
  }
}

}  // namespace
}  // namespace casavo

namespace casavo {
namespace {

// The furniture model is one more attribute of objet: written only for a
// model, read back, and a text without it reads as before (no model), also
// into a slot that held a model.
TEST(PlanXml, FurnitureModelRoundTrips) {
  TCasaPlan plan;
  plan.AddObjet(6000, 6000, 1400, 1900, 90, 0, "Lit 140");
  plan.Objects[1].modele = "lit140";
  plan.AddObjet(7000, 7000, 800, 800, 0, -1, "Caisse");
  const std::string text = WritePlanXml(plan);
  EXPECT_NE(text.find("nom=\"Lit 140\" modele=\"lit140\"/>"), std::string::npos) << text;
  EXPECT_NE(text.find("a=\"0\" nom=\"Caisse\"/>"), std::string::npos) << text;

  TCasaPlan back;
  ASSERT_TRUE(ReadPlanXml(back, text));
  ASSERT_EQ(back.ObjectCount, 2);
  EXPECT_EQ(back.Objects[1].modele, "lit140");
  EXPECT_EQ(back.Objects[1].a, 90);
  EXPECT_EQ(back.Objects[2].modele, "");
  EXPECT_EQ(WritePlanXml(back), text);

  ASSERT_TRUE(ReadPlanXml(back, Document("<objets><objet x=\"100\" y=\"200\" nom=\"Lit\"/>"
                                         "</objets>")));
  ASSERT_EQ(back.ObjectCount, 1);
  EXPECT_EQ(back.Objects[1].modele, "");
  EXPECT_EQ(back.Objects[1].nom, "Lit");
}

}  // namespace
}  // namespace casavo
