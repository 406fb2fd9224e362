// ServiceFixture: a service instance over a fresh folder.

#include "service_fixture.h"

#include <libpq-fe.h>
#include <zlib.h>

#include <cstdlib>
#include <fstream>

#include "service/secrets.h"

namespace casavo::service::testing {
namespace {

void Append32(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void AppendChunk(std::string& out, std::string_view type, std::string_view data) {
  Append32(out, static_cast<uint32_t>(data.size()));
  const std::string typed = std::string(type) + std::string(data);
  out += typed;
  Append32(out, crc32(0, reinterpret_cast<const Bytef*>(typed.data()), typed.size()));
}

// Runs administration SQL on the test cluster.
void Administer(const std::string& cluster, const std::string& sql) {
  PGconn* conn = PQconnectdb(cluster.c_str());
  PGresult* result = PQexec(conn, sql.c_str());
  const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
  const std::string error = PQerrorMessage(conn);
  PQclear(result);
  PQfinish(conn);
  if (!ok) throw std::runtime_error(sql + ": " + error);
}

}  // namespace

TestStore::TestStore() {
  const char* stateFile = std::getenv("CASAVO_TEST_POSTGRES");
  if (!stateFile || !*stateFile) {
    location_ = "sqlite:" + (dir_.path() / "casavo.sqlite").string();
    return;
  }
  std::ifstream state(stateFile);
  if (!std::getline(state, cluster_) || cluster_.empty())
    throw std::runtime_error(std::string("no PostgreSQL test cluster in ") + stateFile);
  database_ = "casavo_test_" + RandomHex(8);
  Administer(cluster_, "CREATE DATABASE " + database_);
  location_ = cluster_ + " dbname=" + database_;
  setenv("CASAVO_DATABASE", location_.c_str(), 1);
}

TestStore::~TestStore() {
  if (!postgres()) return;
  unsetenv("CASAVO_DATABASE");
  siblings_.push_back(database_);
  for (const std::string& name : siblings_) {
    try {
      Administer(cluster_, "DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
    } catch (const std::exception&) {
      // The cluster goes at the end of the run anyway.
    }
  }
}

std::string TestStore::Sibling(const std::string& name) {
  if (!postgres()) return "sqlite:" + (dir_.path() / (name + ".sqlite")).string();
  const std::string database = database_ + "_" + name;
  Administer(cluster_, "CREATE DATABASE " + database);
  siblings_.push_back(database);
  return cluster_ + " dbname=" + database;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "casavo-service-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

Fields AccountFields(const std::string& action, const std::string& login, const std::string& email,
                     const std::string& pass, const std::string& version) {
  return {
      {"action", action}, {"login", login}, {"email", email}, {"pass", pass}, {"version", version}};
}

Fields SaveFields(const std::string& session, const std::string& planId, const std::string& stamp,
                  const std::string& title, int sharing, const std::string& text) {
  return {{"action", "sauver"},
          {"userid", session},
          {"titre", title},
          {"planid", planId},
          {"partage", std::to_string(sharing)},
          {"date_modification", stamp},
          {"fichier", text}};
}

Fields PreviewFields(const std::string& session, const std::string& planId,
                     const std::string& base64, int width, int height) {
  return {{"action", "sauver_png"},
          {"userid", session},
          {"planid", planId},
          {"data", base64},
          {"large", std::to_string(width)},
          {"haut", std::to_string(height)}};
}

std::string MakePngHeader(int width, int height) {
  std::string png("\x89PNG\r\n\x1A\n", 8);
  std::string header;
  Append32(header, width);
  Append32(header, height);
  header += std::string("\x08\x00\x00\x00\x00", 5);  // 8-bit grey, no interlace
  AppendChunk(png, "IHDR", header);
  return png;
}

std::string MakePng(int width, int height) {
  std::string png = MakePngHeader(width, height);
  std::string raw;
  for (int y = 0; y < height; ++y) raw += '\0' + std::string(width, '\x80');
  uLongf size = compressBound(raw.size());
  std::string packed(size, '\0');
  compress(reinterpret_cast<Bytef*>(packed.data()), &size,
           reinterpret_cast<const Bytef*>(raw.data()), raw.size());
  packed.resize(size);
  AppendChunk(png, "IDAT", packed);
  AppendChunk(png, "IEND", "");
  return png;
}

std::string PlanText(std::string_view roomName) {
  return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
         "<Casavo version=\"2.2\" decimal=\".\">\r\n"
         "  <affichage>\r\n    <x0>10</x0>\r\n    <y0>20</y0>\r\n    <zx>0.05</zx>\r\n"
         "    <zy>0.05</zy>\r\n  </affichage>\r\n  <plan>\r\n    <murs nbre=\"1\">\r\n"
         "      <mur id=\"1\" x1=\"0\" y1=\"0\" x2=\"4000\" y2=\"0\" epais=\"200\"/>\r\n"
         "    </murs>\r\n    <trous nbre=\"0\"/>\r\n    <objets nbre=\"0\"/>\r\n"
         "    <pieces nbre=\"1\">\r\n      <piece id=\"1\" hash=\"K1\" nom=\"" +
         std::string(roomName) +
         "\" sorte=\"Salon\" couleur=\"F0F0F0\"/>\r\n    </pieces>\r\n  </plan>\r\n"
         "</Casavo>\r\n";
}

ServiceFixture::ServiceFixture(ProtocolSettings settings, AccountSettings accounts)
    : database_(store_.location()),
      accounts_(database_, accounts),
      plans_(database_),
      errors_(database_),
      protocol_(accounts_, plans_, errors_, std::move(settings)) {}

ProtocolReply ServiceFixture::Call(const Fields& fields) {
  return protocol_.Handle(FormFields(FormBody(fields)));
}

std::string ServiceFixture::SignUp(const std::string& login) {
  const auto reply =
      Call(AccountFields("enregistrement", login, login + "@exemple.fr", "secret-" + login));
  EXPECT_EQ(reply.status, "200") << reply.data;
  return reply.data;
}

ProtocolReply ServiceFixture::Save(const std::string& session, const std::string& planId,
                                   const std::string& stamp, const std::string& title, int sharing,
                                   const std::string& text) {
  return Call(SaveFields(session, planId, stamp, title, sharing, text));
}

std::pair<std::string, std::string> ServiceFixture::SaveNew(const std::string& session,
                                                            const std::string& title, int sharing,
                                                            const std::string& text) {
  const auto reply = Save(session, "", "", title, sharing, text);
  EXPECT_EQ(reply.status, "200") << reply.data;
  const auto [stamp, id] = StampAndId(reply);
  return {id, stamp};
}

std::pair<std::string, std::string> ServiceFixture::StampAndId(const ProtocolReply& reply) {
  const std::string after = reply.data.substr(reply.data.find(':') + 1);
  const size_t semicolon = after.find(';');
  return {after.substr(0, semicolon), after.substr(semicolon + 1)};
}

PlanSummary ServiceFixture::Plan(const std::string& planId) {
  auto plan = plans_.FindById(std::stoll(planId));
  if (!plan) throw std::runtime_error("no plan " + planId);
  return *plan;
}

}  // namespace casavo::service::testing
