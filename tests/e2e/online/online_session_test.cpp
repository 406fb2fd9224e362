// End to end: the real editor against a real casavo-service.

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineCertificateError>

#include "net/http_transport.h"
#include "net/online_editor.h"
#include "net/online_window_support.h"
#include "net/service_session.h"
#include "net/tiny_page_server.h"

namespace casavo::testing {
namespace {

constexpr int kTimeoutMs = 20000;
const std::string kTitle = "Maison d'Éloïse & co";
const QString kRoom = QStringLiteral("Séjour + cuisine");

// The real transport, counting what it sends.
class CountingTransport : public ServiceTransport {
 public:
  std::optional<QByteArray> Post(const QUrl& address, const QByteArray& body) override {
    actions.push_back(FormFieldsOf(body)["action"]);
    return http_.Post(address, body);
  }
  std::vector<std::string> actions;

 private:
  HttpTransport http_;
};

class OnlineSessionTest : public ::testing::Test {
 protected:
  OnlineSessionTest() {
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    qputenv("XDG_DATA_HOME", home_.path().toUtf8());
    window_ = std::make_unique<TForm1>();
    window_->SetDialogs(std::make_unique<AnswerNo>());
    window_->Editor->SetDialogs(std::make_unique<NoRecovery>());
    service_ = std::make_unique<LiveService>();
    auto transport = std::make_unique<CountingTransport>();
    auto dialogs = std::make_unique<ScriptedDialogs>();
    transport_ = transport.get();
    dialogs_ = dialogs.get();
    auto online =
        std::make_unique<OnlineEditor>(*window_, std::move(transport), std::move(dialogs));
    online_ = online.get();
    window_->SetOnlineService(std::move(online));
    // The web view trusts the deployment's test certificate, and only it.
    QObject::connect(Page(), &QWebEnginePage::certificateError,
                     [](QWebEngineCertificateError error) {
                       if (!error.certificateChain().isEmpty() &&
                           TestCertificates().contains(error.certificateChain().first()))
                         error.acceptCertificate();
                     });
  }
  ~OnlineSessionTest() override {
    window_.reset();
    service_.reset();
    SetAppFolder("");
    qunsetenv("XDG_DATA_HOME");
  }

  QWebEnginePage* Page() { return online_->Web().Page(); }
  TCasaPlan& Plan() { return *window_->Editor->Plan; }

  // Shows the window; its show handler brings the home page to the front.
  void StartOnHomePage() {
    QSignalSpy loaded(Page(), &QWebEnginePage::loadFinished);
    window_->resize(1000, 612);
    window_->show();
    ASSERT_TRUE(loaded.wait(kTimeoutMs));
    ASSERT_TRUE(loaded.last().at(0).toBool());
    EXPECT_TRUE(window_->WebViewShown());
    EXPECT_TRUE(Page()->url().toString().contains("action=site_accueil"));
  }
  // Clicks a link of the page in the web view, as the user would.
  void ClickLink(const QString& prefix) {
    QSignalSpy finished(Page(), &QWebEnginePage::loadFinished);
    Page()->runJavaScript(
        QStringLiteral("document.querySelector('a[href^=\"%1\"]').click();").arg(prefix));
    // A casavo:// navigation is cancelled, which ends as an unfinished load.
    ASSERT_TRUE(finished.wait(kTimeoutMs));
    QCoreApplication::processEvents();
  }
  void LoadInWebView(const QUrl& address) {
    QSignalSpy loaded(Page(), &QWebEnginePage::loadFinished);
    online_->Web().NavigateTo(address, false);
    ASSERT_TRUE(loaded.wait(kTimeoutMs));
  }
  QString PageHtml() {
    QString html;
    bool done = false;
    Page()->toHtml([&](const QString& text) {
      html = text;
      done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, kTimeoutMs));
    return html;
  }
  void Drag(QPoint from, QPoint to) {
    TCasa* editor = window_->Editor;
    QTest::mousePress(editor, Qt::LeftButton, {}, from);
    QTest::mouseMove(editor, (from + to) / 2);
    QTest::mouseMove(editor, to);
    QTest::mouseRelease(editor, Qt::LeftButton, {}, to);
  }
  // Four walls around a room, then its name typed in the room panel.
  void DrawNamedRoom() {
    const std::vector<QPoint> corners = {{150, 150}, {450, 150}, {450, 350}, {150, 350}};
    for (size_t i = 0; i < corners.size(); ++i) {
      QTest::mouseClick(window_->mlTracerMur, Qt::LeftButton);
      Drag(corners[i], corners[(i + 1) % corners.size()]);
    }
    // Échap puts the wall tool down; rooms show from the start.
    QTest::keyClick(window_->Editor, Qt::Key_Escape);
    ASSERT_TRUE(window_->cbPiece->isChecked());
    QTest::mouseClick(window_->Editor, Qt::LeftButton, {}, QPoint(300, 250));
    ASSERT_NE(Plan().Selected(kSelRoom), 0);
    window_->ePieceNom->setText(kRoom);
  }
  struct Wall {
    TPoint a, b;
    bool operator==(const Wall&) const = default;
  };
  std::vector<Wall> Walls() {
    std::vector<Wall> walls;
    for (int32_t w = 1; w <= Plan().WallCount; ++w)
      walls.push_back({Plan().Corners[Plan().Walls[w].C1], Plan().Corners[Plan().Walls[w].C2]});
    return walls;
  }
  std::vector<std::string> RoomNames() {
    std::vector<std::string> names;
    for (int32_t r = 1; r <= Plan().RoomCount; ++r) names.push_back(Plan().RoomName(r));
    return names;
  }

  QTemporaryDir home_;
  MessageRecorder messages;
  std::unique_ptr<TForm1> window_;
  std::unique_ptr<LiveService> service_;
  CountingTransport* transport_ = nullptr;
  ScriptedDialogs* dialogs_ = nullptr;
  OnlineEditor* online_ = nullptr;
};

TEST_F(OnlineSessionTest, AccountSaveGalleryAndOpenFromTheLink) {
  StartOnHomePage();
  ClickLink("casavo://editeur");
  EXPECT_FALSE(window_->WebViewShown());

  DrawNamedRoom();
  ASSERT_EQ(Plan().WallCount, 4);
  const std::vector<Wall> drawn = Walls();
  ASSERT_EQ(RoomNames(), std::vector<std::string>{kRoom.toStdString()});

  // Saving asks for an account first, then for the title and sharing.
  dialogs_->accountAnswer = AccountEntry{"eloise", "eloise@example.org", "jardin&+", true};
  dialogs_->saveAnswer = [](TPlanInfo& info) {
    info.Titre = kTitle;
    info.Partage = 1;
  };
  QTest::mouseClick(window_->mlSauverPlan, Qt::LeftButton);
  EXPECT_EQ(transport_->actions,
            (std::vector<std::string>{"enregistrement", "sauver", "sauver_png"}));
  ASSERT_FALSE(messages.shown.empty());
  EXPECT_EQ(messages.shown.back().text,
            QString::fromStdString("Le plan \"" + kTitle + "\" est sauvegardé."));
  EXPECT_TRUE(window_->WebViewShown());
  EXPECT_EQ(window_->windowTitle(), QString::fromStdString("Casavo V2.2 - " + kTitle));
  const std::string planId = window_->Editor->PlanInfo.PlanId;
  EXPECT_NE(planId, "");

  // A new, empty plan; then the gallery, which knows the user by the session.
  QTest::mouseClick(window_->mlNouveauPlan, Qt::LeftButton);
  ASSERT_EQ(Plan().WallCount, 0);
  QTest::mouseClick(window_->mlChargerPlan, Qt::LeftButton);
  EXPECT_TRUE(window_->WebViewShown());
  EXPECT_TRUE(online_->Web().PageComplete());
  EXPECT_EQ(Page()->url().path(), "/fr/mesplans");
  const QString gallery = PageHtml();
  EXPECT_TRUE(gallery.contains(QString::fromStdString(kTitle).toHtmlEscaped()))
      << gallery.toStdString();
  EXPECT_TRUE(gallery.contains("<h2>Mes plans</h2>")) << "the session cookie reached the service";

  const size_t sent = transport_->actions.size();
  ClickLink("casavo://open/");
  ASSERT_TRUE(QTest::qWaitFor([&] { return Plan().WallCount > 0; }, kTimeoutMs));
  EXPECT_EQ(std::vector<std::string>(transport_->actions.begin() + sent, transport_->actions.end()),
            (std::vector<std::string>{"lister", "charger"}));
  EXPECT_EQ(Walls(), drawn);
  EXPECT_EQ(RoomNames(), std::vector<std::string>{kRoom.toStdString()});
  EXPECT_FALSE(window_->WebViewShown());
  EXPECT_EQ(window_->Editor->PlanInfo.PlanId, planId);
  EXPECT_EQ(window_->Editor->PlanInfo.Titre, kTitle);
  EXPECT_EQ(window_->Editor->UndoLabels, std::vector<std::string>{"Plan de départ"});
  EXPECT_EQ(window_->windowTitle(), QString::fromStdString("Casavo V2.2 - " + kTitle));
}

TEST_F(OnlineSessionTest, LinksOnAnotherSiteDoNothing) {
  StartOnHomePage();
  const std::string key = "any";
  TinyPageServer elsewhere("<html><body><a href=\"casavo://open/" + QByteArray(key.c_str()) +
                           "\">ouvrir</a> <a href=\"casavo://editeur\">retour</a></body></html>");
  LoadInWebView(elsewhere.Url());
  ClickLink("casavo://open/");
  ClickLink("casavo://editeur");
  EXPECT_TRUE(transport_->actions.empty());
  EXPECT_TRUE(dialogs_->accountShown.empty());
  EXPECT_TRUE(window_->WebViewShown());
  EXPECT_EQ(Page()->url(), elsewhere.Url());
}

}  // namespace
}  // namespace casavo::testing
