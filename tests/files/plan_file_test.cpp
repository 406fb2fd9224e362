// Tests of the plan-file cipher and of plan files on disk.

#include "files/plan_file.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/provider.h>

#include <memory>

#include "files/file_io.h"
#include "temp_folder.h"

namespace casavo {
namespace {

using testing::FileBytes;
using testing::FileMode;
using testing::PutFile;
using testing::TempFolder;

std::string Sample(size_t n) {
  std::string s;
  for (size_t i = 0; i < n; ++i) s += static_cast<char>('A' + i * 7 % 26);
  return s;
}

// The same construction computed independently through OpenSSL's own
// Blowfish modes: key from SHA-1, chaining value from ECB, blocks by CBC. It
// works in a library context of its own so that loading the legacy provider
// leaves the program's default context as it was.
class ReferenceCipher {
 public:
  ReferenceCipher() : context_(OSSL_LIB_CTX_new()) {
    legacy_ = OSSL_PROVIDER_load(context_, "legacy");
    const std::string passphrase = "Vu Tr\xE9";
    unsigned len = 0;
    EVP_Digest(passphrase.data(), passphrase.size(), key_, &len, EVP_sha1(), nullptr);
    iv_ = Run("BF-ECB", nullptr, std::string(8, '\xFF'));
  }
  ~ReferenceCipher() {
    OSSL_PROVIDER_unload(legacy_);
    OSSL_LIB_CTX_free(context_);
  }
  bool Available() const { return legacy_ != nullptr && iv_.size() == 8; }

  std::string Encipher(const std::string& text) const {
    const size_t whole = text.size() / 8 * 8;
    std::string out = Run("BF-CBC", iv_.data(), text.substr(0, whole));
    const std::string chain = whole ? out.substr(whole - 8) : iv_;
    const std::string mask = Run("BF-ECB", nullptr, chain);
    for (size_t i = whole; i < text.size(); ++i)
      out += static_cast<char>(text[i] ^ mask[i - whole]);
    return out;
  }

 private:
  std::string Run(const char* name, const char* iv, const std::string& in) const {
    EVP_CIPHER* cipher = EVP_CIPHER_fetch(context_, name, nullptr);
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    std::string out(in.size() + 16, '\0');
    int n = 0, tail = 0;
    const auto* ivBytes = reinterpret_cast<const unsigned char*>(iv);
    const bool ok =
        cipher && EVP_EncryptInit_ex(ctx, cipher, nullptr, nullptr, nullptr) &&
        EVP_CIPHER_CTX_set_key_length(ctx, 20) &&
        EVP_EncryptInit_ex(ctx, nullptr, nullptr, key_, ivBytes) &&
        EVP_CIPHER_CTX_set_padding(ctx, 0) &&
        EVP_EncryptUpdate(ctx, reinterpret_cast<unsigned char*>(out.data()), &n,
                          reinterpret_cast<const unsigned char*>(in.data()),
                          static_cast<int>(in.size())) &&
        EVP_EncryptFinal_ex(ctx, reinterpret_cast<unsigned char*>(out.data()) + n, &tail);
    EVP_CIPHER_CTX_free(ctx);
    EVP_CIPHER_free(cipher);
    out.resize(ok ? static_cast<size_t>(n + tail) : 0);
    return out;
  }

  OSSL_LIB_CTX* context_;
  OSSL_PROVIDER* legacy_ = nullptr;
  unsigned char key_[20] = {};
  std::string iv_;
};

TEST(PlanCipher, EveryShortLengthRoundTripsAtTheSameLength) {
  EXPECT_EQ(EncipherPlanText(""), "");
  EXPECT_EQ(DecipherPlanText(""), "");
  for (size_t n = 0; n <= 17; ++n) {
    const std::string text = Sample(n);
    const std::string enciphered = EncipherPlanText(text);
    ASSERT_EQ(enciphered.size(), n);
    if (n > 0) {
      EXPECT_NE(enciphered, text) << n;
    }
    EXPECT_EQ(DecipherPlanText(enciphered), text) << n;
    EXPECT_EQ(EncipherPlanText(text), enciphered) << n;  // each call starts afresh
  }
}

TEST(PlanCipher, SharedWholeBlocksEncipherAlike) {
  const std::string common = Sample(16);
  const std::string a = EncipherPlanText(common + "premier texte");
  const std::string b = EncipherPlanText(common + "second texte!");
  EXPECT_EQ(a.substr(0, 16), b.substr(0, 16));
  EXPECT_NE(a.substr(16, 8), b.substr(16, 8));
  // Chaining: a change in block 1 changes every later block.
  const std::string c = EncipherPlanText("X" + common.substr(1) + "premier texte");
  EXPECT_NE(a.substr(8, 8), c.substr(8, 8));
  EXPECT_NE(a.substr(16), c.substr(16));
}

TEST(PlanCipher, MatchesAnIndependentComputation) {
  const ReferenceCipher reference;
  if (!reference.Available()) GTEST_SKIP() << "OpenSSL legacy provider missing";
  for (size_t n : {0u, 5u, 8u, 16u, 19u, 64u}) {
    const std::string text = Sample(n);
    EXPECT_EQ(EncipherPlanText(text), reference.Encipher(text)) << n;
  }
}

TEST(PlanFile, PlainFilesAreNeverDeciphered) {
  TCasaPlan plan;
  // Deciphered, this would be taken for the line form and raise.
  const PlanReadResult broken = ReadPlanFileBytes(plan, "<?xml pas du XML");
  EXPECT_FALSE(broken);
  EXPECT_NE(broken.error.find("XML"), std::string::npos);
}

TEST(PlanFile, LineFormIsReadEncipheredOrPlain) {
  const std::string lines = "x0=9\r\nzx=1\r\nzy=1\r\nMur1=0,0,1000,0\r\n";
  for (const std::string& bytes : {EncipherPlanText(lines), lines}) {
    TCasaPlan plan;
    EXPECT_TRUE(ReadPlanFileBytes(plan, bytes));
    EXPECT_EQ(plan.x0, 9);
    EXPECT_EQ(plan.WallCount, 1);
  }
}

TEST(PlanFile, UnreadableFilesRaise) {
  TempFolder folder;
  TCasaPlan plan;
  EXPECT_THROW(LoadPlanFile(plan, folder / "absent.plan"), FileError);
  EXPECT_THROW(SavePlanFile(plan, folder / "absent/x.plan"), FileError);
  // Neither XML nor enciphered: taken for the line form, which has no zoom.
  PutFile(folder / "bruit.plan", "\x01\x02 ni XML ni chiffré");
  EXPECT_THROW(LoadPlanFile(plan, folder / "bruit.plan"), PlanFormatError);
}

TEST(PlanFile, SavedPlainAndLoadedInBothForms) {
  TempFolder folder;
  TCasaPlan plan;
  plan.x0 = 17;
  plan.zx = plan.zy = 0.08;
  plan.AddWall({5000, 5000}, {9000, 5000});
  SavePlanFile(plan, folder / "plan.plan");
  const std::string text = FileBytes(folder / "plan.plan");
  EXPECT_EQ(text, WritePlanXml(plan));
  EXPECT_EQ(FileMode(folder / "plan.plan"), 0600u);

  PutFile(folder / "chiffre.plan", EncipherPlanText(text));
  for (const char* name : {"plan.plan", "chiffre.plan"}) {
    TCasaPlan loaded;
    EXPECT_TRUE(LoadPlanFile(loaded, folder / name)) << name;
    EXPECT_EQ(loaded.WallCount, 1) << name;
    EXPECT_EQ(loaded.x0, 17) << name;
    EXPECT_EQ(WritePlanXml(loaded), text) << name;
  }
}

}  // namespace
}  // namespace casavo
