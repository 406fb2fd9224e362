// Tests of HTML escaping, UTF-8, versions, options and PNG.

#include <gtest/gtest.h>

#include "service/html.h"
#include "service/options.h"
#include "service/png.h"
#include "service/utf8.h"
#include "service/version.h"
#include "service_fixture.h"

namespace casavo::service::testing {
namespace {

TEST(Html, EscapesEverythingThatCouldOpenMarkup) {
  EXPECT_EQ(HtmlEscape("<a href=\"x\" title='y'>&amp;</a>"),
            "&lt;a href=&quot;x&quot; title=&#39;y&#39;&gt;&amp;amp;&lt;/a&gt;");
  const std::string page = PageLayout("<Titre>", "<p>corps</p>");
  EXPECT_NE(page.find("<title>&lt;Titre&gt; – Casavo</title>"), std::string::npos);
  EXPECT_NE(page.find("<p>corps</p>"), std::string::npos);
  EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
}

TEST(Utf8, RejectsMalformedSequences) {
  EXPECT_TRUE(DecodeUtf8("été €"));
  EXPECT_FALSE(DecodeUtf8("\xE9t\xE9"));
  EXPECT_FALSE(DecodeUtf8("\xC0\xAF"));          // overlong "/"
  EXPECT_FALSE(DecodeUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(DecodeUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(DecodeUtf8("\xE2\x82"));          // cut short
  EXPECT_EQ(BrowserTextToUtf8("\xE9t\xE9 \x80"), "été €");
  EXPECT_EQ(BrowserTextToUtf8("été"), "été");
}

TEST(Versions, CompareAsDottedNumbers) {
  const auto v = [](const char* text) { return *ParseVersion(text); };
  EXPECT_TRUE(VersionLess(v("2.9"), v("2.10")));
  EXPECT_FALSE(VersionLess(v("2.10"), v("2.9")));
  EXPECT_FALSE(VersionLess(v("2.2"), v("2.2.0")));
  EXPECT_FALSE(VersionLess(v("2.2.0"), v("2.2")));
  EXPECT_TRUE(VersionLess(v("2.2"), v("2.2.1")));
  EXPECT_TRUE(VersionLess(v("1.99"), v("2")));
  for (const char* bad : {"", "2.", ".2", "2..2", "2.a", "-1", "2 .2", "v2"})
    EXPECT_FALSE(ParseVersion(bad)) << bad;
}

TEST(Png, SizeComesFromAValidHeaderOnly) {
  const std::string png = MakePng(123, 45);
  const auto size = ReadPngSize(png);
  ASSERT_TRUE(size);
  EXPECT_EQ(size->width, 123);
  EXPECT_EQ(size->height, 45);
  EXPECT_FALSE(ReadPngSize(png.substr(0, 32)));
  EXPECT_FALSE(ReadPngSize("\x89PNG"));
  std::string notIhdr = png;
  notIhdr[12] = 'X';
  EXPECT_FALSE(ReadPngSize(notIhdr));
  EXPECT_FALSE(ReadPngSize(MakePng(0, 5)));
}

TEST(CommandLine, OptionsAndTheirErrors) {
  const auto parsed = ParseOptions({"--bind", "0.0.0.0", "--port=0", "--data", "/tmp/x",
                                    "--min-version", "2.2", "--download-url", "http://d"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(parsed.options->bind, "0.0.0.0");
  EXPECT_EQ(parsed.options->port, 0);
  EXPECT_EQ(parsed.options->dataDir, "/tmp/x");
  EXPECT_EQ(*parsed.options->minVersion, (std::vector<long>{2, 2}));
  EXPECT_EQ(parsed.options->downloadUrl, "http://d");
  const auto store = ParseOptions({"--database", "postgresql://u:p@h:5432/casavo", "--migrate-from",
                                   "sqlite:/old.sqlite", "--behind-proxy", "127.0.0.1"});
  ASSERT_TRUE(store.options) << store.error;
  EXPECT_EQ(store.options->database, "postgresql://u:p@h:5432/casavo");
  EXPECT_EQ(store.options->migrateFrom, "sqlite:/old.sqlite");
  EXPECT_EQ(store.options->trustedProxy, "127.0.0.1");

  const auto defaults = ParseOptions({});
  ASSERT_TRUE(defaults.options);
  EXPECT_EQ(defaults.options->bind, "127.0.0.1");
  EXPECT_EQ(defaults.options->port, 8642);
  EXPECT_FALSE(defaults.options->minVersion);

  for (const auto& bad : std::vector<std::vector<std::string>>{{"--port", "65536"},
                                                               {"--port", "80x"},
                                                               {"--port"},
                                                               {"--min-version", "deux"},
                                                               {"--colour", "bleu"},
                                                               {"serve"},
                                                               {"--data="},
                                                               {"--database="}})
    EXPECT_FALSE(ParseOptions(bad).options) << bad[0];
}

}  // namespace
}  // namespace casavo::service::testing
