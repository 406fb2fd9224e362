// Tests of the protocol's plan actions.

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <thread>

#include "common/digest.h"
#include "common/text.h"
#include "plan/casa_plan.h"
#include "service/throttle.h"
#include "service_fixture.h"

namespace casavo::service::testing {
namespace {

std::vector<std::string> Split(const std::string& record) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t bar; (bar = record.find('|', start)) != std::string::npos; start = bar + 1)
    fields.push_back(record.substr(start, bar - start));
  fields.push_back(record.substr(start));
  return fields;
}

class PlansProtocol : public ServiceFixture {
 protected:
  ProtocolReply Lister(const std::string& session, const std::string& key) {
    return Call({{"action", "lister"}, {"userid", session}, {"plancle", key}});
  }
  ProtocolReply Charger(const std::string& session, const std::string& planId) {
    return Call({{"action", "charger"}, {"userid", session}, {"planid", planId}});
  }
  ProtocolReply SauverPng(const std::string& session, const std::string& planId,
                          const std::string& base64, int width, int height) {
    return Call(PreviewFields(session, planId, base64, width, height));
  }
  std::string ReplyOf(const std::string& session, const std::string& planId) {
    return Charger(session, planId).data;
  }
};

TEST_F(PlansProtocol, ASavedPlanIsListedAndLoadedByteForByte) {
  const std::string marc = SignUp("Marc");
  // A name outside Latin-1 is a character reference in the plan text: bytes.
  const std::string text = PlanText("Cuisine &#20013; \xE9t\xE9 \x80");
  const auto reply = Save(marc, "", "", "Maison \x80 \x8C", 1, text);
  ASSERT_EQ(reply.status, "200") << reply.data;
  ASSERT_TRUE(reply.data.starts_with("OK:"));
  const auto [stamp, id] = StampAndId(reply);
  EXPECT_EQ(stamp.find(';'), std::string::npos);
  EXPECT_FALSE(stamp.empty());

  const PlanSummary plan = Plan(id);
  EXPECT_EQ(plan.title, "Maison € Œ");  // kept as characters
  EXPECT_EQ(plan.key.size(), 32u);

  const auto listed = Lister(marc, plan.key);
  ASSERT_EQ(listed.status, "200");
  const auto fields = Split(listed.data);
  ASSERT_EQ(fields.size(), 7u);
  EXPECT_EQ(fields[0], id);
  EXPECT_EQ(fields[1], "Maison \x80 \x8C");
  EXPECT_EQ(fields[2], "Marc");
  EXPECT_TRUE(std::regex_match(fields[3], std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")));
  EXPECT_EQ(fields[4], "1");
  EXPECT_EQ(fields[5], "/apercu/" + plan.key + ".png");
  EXPECT_EQ(fields[6], stamp);

  const auto loaded = Charger(marc, id);
  EXPECT_EQ(loaded.status, "200");
  EXPECT_EQ(loaded.data, text);
}

TEST_F(PlansProtocol, EverySaveChangesTheStampAndAStaleSaveIsRefused) {
  const std::string marc = SignUp("Marc");
  const auto [id, first] = SaveNew(marc, "Maison", 2, PlanText("Un"));
  const auto second = Save(marc, id, first, "Maison", 2, PlanText("Deux"));
  ASSERT_EQ(second.status, "200") << second.data;
  const auto [secondStamp, sameId] = StampAndId(second);
  EXPECT_EQ(sameId, id);
  EXPECT_NE(secondStamp, first);

  // Julie opened the plan before Marc's second save: her save must not win.
  const std::string julie = SignUp("Julie");
  const auto stale = Save(julie, id, first, "Maison", 2, PlanText("Julie"));
  EXPECT_EQ(stale.status, "409");
  EXPECT_NE(stale.data.find("recharge"), std::string::npos);
  EXPECT_EQ(ReplyOf(marc, id), PlanText("Deux"));
  // The same from the creator, and with no stamp at all.
  EXPECT_EQ(Save(marc, id, first, "Maison", 2, PlanText("Trois")).status, "409");
  EXPECT_EQ(Save(marc, id, "", "Maison", 2, PlanText("Trois")).status, "409");
  EXPECT_EQ(ReplyOf(marc, id), PlanText("Deux"));
}

TEST_F(PlansProtocol, ConcurrentSavesOfOneVersionLetExactlyOneThrough) {
  const std::string marc = SignUp("Marc");
  const auto [id, stamp] = SaveNew(marc, "Maison", 2);
  std::vector<std::string> statuses(6);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < statuses.size(); ++i)
    threads.emplace_back([&, i] {
      statuses[i] = Save(marc, id, stamp, "Maison", 2, PlanText(std::to_string(i))).status;
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(std::count(statuses.begin(), statuses.end(), "200"), 1);
  EXPECT_EQ(std::count(statuses.begin(), statuses.end(), "409"), 5);
}

TEST_F(PlansProtocol, SharingRulesForAnotherUser) {
  const std::string marc = SignUp("Marc");
  const std::string julie = SignUp("Julie");
  const std::string png = Base64Encode(MakePng(12, 8));
  for (int level = 0; level <= 3; ++level) {
    SCOPED_TRACE("level " + std::to_string(level));
    const auto [id, stamp] = SaveNew(marc, "Plan de Marc", level, PlanText("Marc"));
    const PlanSummary plan = Plan(id);
    const bool visible = level >= 1;
    const bool writable = level == 2;

    const auto listed = Lister(julie, plan.key);
    EXPECT_EQ(listed.status, visible ? "200" : "403");
    if (!visible) {
      EXPECT_EQ(listed.data, "Vous n'avez pas le droit de charger ce plan.");
    }
    const auto loaded = Charger(julie, id);
    EXPECT_EQ(loaded.status, visible ? "200" : "403");
    EXPECT_EQ(loaded.data == PlanText("Marc"), visible);

    // Someone else's private plan answers as a missing one.
    const std::string refused = visible ? "403" : "404";
    const auto saved = Save(julie, id, stamp, "Titre de Julie", 0, PlanText("Julie"));
    EXPECT_EQ(saved.status, writable ? "200" : refused) << saved.data;
    if (!visible) {
      EXPECT_EQ(saved.Body(), Save(julie, "999", stamp, "Titre de Julie", 0, PlanText()).Body());
    }
    EXPECT_EQ(ReplyOf(marc, id), writable ? PlanText("Julie") : PlanText("Marc"));
    const PlanSummary after = Plan(id);
    // Only the creator names and shares the plan.
    EXPECT_EQ(after.title, "Plan de Marc");
    EXPECT_EQ(after.sharing, level);
    EXPECT_EQ(after.owner, "Marc");

    EXPECT_EQ(SauverPng(julie, id, png, 12, 8).status, writable ? "200" : refused);
    EXPECT_EQ(Plan(id).hasPreview, writable);
  }
}

TEST_F(PlansProtocol, RefusalsNameTheSharingLevel) {
  const std::string marc = SignUp("Marc");
  const std::string julie = SignUp("Julie");
  const auto [readId, readStamp] = SaveNew(marc, "Lecture", 1);
  EXPECT_EQ(Save(julie, readId, readStamp, "x", 1, PlanText()).data,
            "Ce plan cr\xE9\xE9 par Marc est partag\xE9 en Lecture. Vous ne pouvez pas "
            "l'enregistrer.");
  const auto [useId, useStamp] = SaveNew(marc, "Utilisation", 3);
  EXPECT_NE(Save(julie, useId, useStamp, "x", 3, PlanText()).data.find("nouveau plan"),
            std::string::npos);
  // At level 3 the editor saves a copy as a new plan of the user's own.
  const auto copy = Save(julie, "", "", "Ma copie", 0, PlanText("Copie"));
  ASSERT_EQ(copy.status, "200");
  EXPECT_EQ(Plan(StampAndId(copy).second).owner, "Julie");
  EXPECT_EQ(ReplyOf(marc, useId), PlanText());
}

TEST_F(PlansProtocol, TheCreatorChangesEverythingOfAnyLevel) {
  const std::string marc = SignUp("Marc");
  const auto [id, stamp] = SaveNew(marc, "Priv\xE9", 0, PlanText("Un"));
  const PlanSummary plan = Plan(id);
  EXPECT_EQ(Lister(marc, plan.key).status, "200");
  const auto saved = Save(marc, id, stamp, "Public", 3, PlanText("Deux"));
  ASSERT_EQ(saved.status, "200");
  EXPECT_EQ(Plan(id).title, "Public");
  EXPECT_EQ(Plan(id).sharing, 3);
  EXPECT_EQ(ReplyOf(marc, id), PlanText("Deux"));
  EXPECT_EQ(SauverPng(marc, id, Base64Encode(MakePng(3, 4)), 3, 4).Body(), "200 OK");
  EXPECT_EQ(plans_.Preview(std::stoll(id))->png, MakePng(3, 4));
}

TEST_F(PlansProtocol, UnknownPlansAndKeys) {
  const std::string marc = SignUp("Marc");
  EXPECT_EQ(Lister(marc, "inconnu").status, "403");
  EXPECT_EQ(Lister(marc, "' OR 1=1 --").status, "403");
  EXPECT_EQ(Charger(marc, "999").status, "403");
  EXPECT_EQ(Charger(marc, "1 OR 1=1").status, "400");
  EXPECT_EQ(Save(marc, "999", "", "Maison", 0, PlanText()).status, "404");
  EXPECT_EQ(Save(marc, "abc", "", "Maison", 0, PlanText()).status, "400");
  EXPECT_EQ(SauverPng(marc, "999", Base64Encode(MakePng(2, 2)), 2, 2).status, "404");
}

TEST_F(PlansProtocol, SaveChecksItsFields) {
  const std::string marc = SignUp("Marc");
  EXPECT_EQ(Save(marc, "", "", "Maison", 4, PlanText()).status, "400");
  EXPECT_EQ(Save(marc, "", "", "Maison", -1, PlanText()).status, "400");
  EXPECT_EQ(Save(marc, "", "", "", 0, PlanText()).status, "400");
  EXPECT_EQ(Save(marc, "", "", "a|b", 0, PlanText()).status, "400");
  EXPECT_EQ(Save(marc, "", "", std::string(201, 'a'), 0, PlanText()).status, "400");
  EXPECT_EQ(Save(marc, "", "", "Maison", 0, "").status, "400");
  EXPECT_EQ(Save(marc, "", "", "Maison", 0, "x0=1\r\nzx=0.05").status, "400");
  EXPECT_EQ(Save(marc, "", "", "Maison", 0, PlanText() + std::string(kMaxPlanBytes, ' ')).status,
            "413");
  for (const char* field : {"titre", "planid", "partage", "date_modification", "fichier"}) {
    Fields fields = SaveFields(marc, "", "", "Maison", 0, PlanText());
    std::erase_if(fields, [&](const auto& f) { return f.first == field; });
    const auto reply = Call(fields);
    EXPECT_EQ(reply.status, "400") << field;
    EXPECT_NE(reply.data.find(field), std::string::npos) << field;
  }
  EXPECT_TRUE(plans_.OwnedBy(accounts_.FindSession(marc)->id).empty());
}

TEST_F(PlansProtocol, TitlesWithMarkupQuotesAndSqlAreKeptAsTyped) {
  const std::string marc = SignUp("Marc");
  const std::string title = "<b>\"Chez l'ami\"</b> & co'); DROP TABLE plans; --";
  const auto [id, stamp] = SaveNew(marc, title, 1);
  const auto fields = Split(Lister(marc, Plan(id).key).data);
  ASSERT_EQ(fields.size(), 7u);
  EXPECT_EQ(fields[1], title);
  EXPECT_EQ(Plan(id).title, title);
}

TEST_F(PlansProtocol, PreviewsMustBePngOfTheStatedSize) {
  const std::string marc = SignUp("Marc");
  const auto [id, stamp] = SaveNew(marc, "Maison", 0);
  const std::string png = MakePng(40, 30);
  EXPECT_EQ(SauverPng(marc, id, "pas du base64 !", 40, 30).status, "400");
  EXPECT_EQ(SauverPng(marc, id, Base64Encode("GIF89a" + std::string(40, 'x')), 40, 30).status,
            "400");
  std::string badCrc = png;
  badCrc[20] ^= 1;  // height byte changed without its CRC
  EXPECT_EQ(SauverPng(marc, id, Base64Encode(badCrc), 40, 30).status, "400");
  const auto wrongSize = SauverPng(marc, id, Base64Encode(png), 40, 31);
  EXPECT_EQ(wrongSize.status, "400");
  EXPECT_NE(wrongSize.data.find("40 \xD7 30"), std::string::npos);
  EXPECT_EQ(SauverPng(marc, id, Base64Encode(png), 0, 30).status, "400");
  EXPECT_FALSE(Plan(id).hasPreview);

  // A client that left "+" unescaped had it decoded as a space.
  int width = 40;
  std::string base64;
  while (base64.find('+') == std::string::npos) base64 = Base64Encode(MakePng(++width, 30));
  std::replace(base64.begin(), base64.end(), '+', ' ');
  EXPECT_EQ(SauverPng(marc, id, base64, width, 30).Body(), "200 OK");
  EXPECT_EQ(plans_.Preview(std::stoll(id))->png, MakePng(width, 30));
}

TEST_F(PlansProtocol, JunkPlansAreRefusedAndNothingIsStored) {
  const std::string marc = SignUp("Marc");
  const std::string plan = PlanText();
  // One wall more than the plan's table takes.
  std::string walls;
  for (int i = 0; i <= TCasaPlan::kMaxWalls; ++i)
    walls += "<mur x1=\"0\" y1=\"" + std::to_string(i * 1000) + "\" x2=\"4000\" y2=\"" +
             std::to_string(i * 1000) + "\" epais=\"200\"/>";
  std::string tooManyWalls = plan;
  tooManyWalls.insert(tooManyWalls.find("</murs>"), walls);
  const std::pair<const char*, std::string> junk[] = {
      {"bare markers", "<?xml<Casavo"},
      {"cut off", plan.substr(0, plan.size() / 2)},
      {"binary", "<?xml version=\"1.0\"?>\n<Casavo>" + std::string("\0\xFF\x01\x80", 4)},
      {"not a plan", "<?xml version=\"1.0\"?><html/>"},
      {"too many walls", tooManyWalls},
  };
  for (const auto& [name, text] : junk) {
    const auto reply = Save(marc, "", "", "Maison", 0, text);
    EXPECT_EQ(reply.status, "400") << name << ": " << reply.data;
    EXPECT_TRUE(reply.data.starts_with("Le ")) << name << ": " << reply.data;
  }
  // A body whose plan has a bare "&" is cut there by the form decoding.
  const std::string body = FormBody(SaveFields(marc, "", "", "Maison", 0, "")) + PlanText("A&B");
  EXPECT_EQ(protocol_.Handle(FormFields(body)).status, "400");
  EXPECT_TRUE(plans_.OwnedBy(accounts_.FindSession(marc)->id).empty());
}

TEST_F(PlansProtocol, JunkPreviewsAreRefusedAndNothingIsStored) {
  const std::string marc = SignUp("Marc");
  const auto [id, stamp] = SaveNew(marc, "Maison", 0);
  const std::string png = MakePng(40, 30);
  const std::string idat = png.substr(33, png.size() - 33 - 12);  // the IDAT chunk
  const struct {
    const char* name;
    std::string bytes;
    int width, height;
    const char* says;
  } junk[] = {
      {"header only", png.substr(0, 33), 40, 30, "pas une image PNG valide"},
      {"no end", png.substr(0, png.size() - 12), 40, 30, "pas une image PNG valide"},
      {"noise after the end", png + "bruit", 40, 30, "pas une image PNG valide"},
      {"cut image data", png.substr(0, 33) + idat.substr(0, idat.size() / 2), 40, 30,
       "pas une image PNG valide"},
      {"20000 x 20000", MakePngHeader(20000, 20000) + idat + png.substr(png.size() - 12), 20000,
       20000, "plus que les 4000 \xD7 4000"},
  };
  for (const auto& [name, bytes, width, height, says] : junk) {
    const auto reply = SauverPng(marc, id, Base64Encode(bytes), width, height);
    EXPECT_EQ(reply.status, "400") << name;
    EXPECT_NE(reply.data.find(says), std::string::npos) << name << ": " << Cp1252ToUtf8(reply.data);
  }
  EXPECT_FALSE(Plan(id).hasPreview);
  EXPECT_EQ(SauverPng(marc, id, Base64Encode(MakePng(4000, 2)), 4000, 2).Body(), "200 OK");
}

TEST_F(PlansProtocol, ErrorReportsAreBoundedPerAddressAndInAll) {
  ErrorReports reports(database_, {3, 350});
  const std::string session(32, 'a');
  EXPECT_EQ(MaskSessionIds("par " + session + "0f, plan 42 " + std::string(31, 'b')),
            "par [masqu\xC3\xA9], plan 42 " + std::string(31, 'b'));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(reports.Record(std::nullopt, std::string(100, 'x'), "a"));
  EXPECT_FALSE(reports.Record(std::nullopt, "x", "a")) << "the address's hour is used up";
  EXPECT_TRUE(reports.Record(std::nullopt, "y par " + session, "b"));
  EXPECT_TRUE(reports.Record(std::nullopt, std::string(100, 'z'), "b"));
  auto db = database_.Acquire();
  auto query = db->Prepare("SELECT address, message FROM error_reports ORDER BY id");
  std::vector<std::string> kept;
  while (query.Step()) kept.push_back(query.Text(0) + ":" + query.Text(1).substr(0, 8));
  // 350 bytes in all: the oldest went.
  EXPECT_EQ(kept,
            (std::vector<std::string>{"a:xxxxxxxx", "a:xxxxxxxx", "b:y par [m", "b:zzzzzzzz"}));

  // A report an older version stored in clear is masked when the service tidies up.
  database_.AcquireForWriting()
      ->Prepare("INSERT INTO error_reports (received_at, message) VALUES (0, ?)")
      .Bind(1, "vieux par " + session)
      .Run();
  reports.Tidy();
  auto old = db->Prepare("SELECT message FROM error_reports WHERE received_at = 0");
  ASSERT_TRUE(old.Step());
  EXPECT_EQ(old.Text(0), "vieux par [masqu\xC3\xA9]");
}

TEST_F(PlansProtocol, SignInThrottleHoldsBackGuessersButNotTheOwnersAddress) {
  SignInThrottle throttle(database_, {3, 5, 600});
  const int64_t t = 1000000;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(throttle.Wait("10.0.0.1", "Marc", t + i), 0);
    throttle.Failed("10.0.0.1", "Marc", t + i);
  }
  EXPECT_EQ(throttle.Wait("10.0.0.1", "Marc", t + 10), 590);
  EXPECT_EQ(throttle.Wait("10.0.0.1", "Julie", t + 10), 590) << "per address, any login";
  // Many addresses guess one login: those that guessed wrong wait, a fresh
  // address does not.
  throttle.Failed("10.0.0.2", "MARC", t + 20);
  throttle.Failed("10.0.0.3", "marc", t + 21);
  EXPECT_GT(throttle.Wait("10.0.0.2", "Marc", t + 30), 0);
  EXPECT_EQ(throttle.Wait("10.0.0.9", "Marc", t + 30), 0);
  EXPECT_EQ(throttle.Wait("10.0.0.1", "Marc", t + 600), 0) << "the oldest failure aged out";
  throttle.Prune(t + 2000);
  EXPECT_EQ(throttle.Wait("10.0.0.2", "Marc", t + 2000), 0);
}

TEST_F(PlansProtocol, ErrorReportsAreStoredWithTheirTime) {
  const std::string marc = SignUp("Marc");
  EXPECT_EQ(Call({{"action", "erreur"}, {"msg", "Erreur 2 de chargement du plan 7 par x"}}).Body(),
            "200 OK");
  EXPECT_EQ(Call({{"action", "erreur"}, {"msg", "Probl\xE8me"}, {"userid", marc}}).Body(),
            "200 OK");
  EXPECT_EQ(Call({{"action", "erreur"}}).status, "400");
  EXPECT_EQ(
      Call({{"action", "erreur"}, {"msg", std::string(kMaxErrorMessageBytes + 1, 'x')}}).status,
      "413");
  auto db = database_.Acquire();
  auto query =
      db->Prepare("SELECT message, user_id IS NULL, received_at FROM error_reports ORDER BY id");
  ASSERT_TRUE(query.Step());
  EXPECT_EQ(query.Text(0), "Erreur 2 de chargement du plan 7 par x");
  EXPECT_TRUE(query.Int(1));
  EXPECT_GT(query.Int(2), 1700000000);
  ASSERT_TRUE(query.Step());
  EXPECT_EQ(query.Text(0), "Problème");
  EXPECT_FALSE(query.Int(1));
  EXPECT_FALSE(query.Step());
}

}  // namespace
}  // namespace casavo::service::testing
