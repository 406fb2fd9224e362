// HTML escaping and the common page layout.

#include "service/html.h"

namespace casavo::service {
namespace {

constexpr std::string_view kStyle = R"css(
*{box-sizing:border-box}
body{margin:0;font:16px/1.5 "DejaVu Sans",Verdana,sans-serif;color:#25313b;background:#f4f6f8}
header{background:#2f6f8f;color:#fff}
header .bar{max-width:960px;margin:auto;padding:.6em 1em;display:flex;gap:1.5em;align-items:center}
header .brand{font-weight:bold;font-size:1.3em;margin-right:auto;color:#fff;text-decoration:none}
header nav a{color:#e6f2f8;text-decoration:none}
header nav a:hover{text-decoration:underline}
main{max-width:960px;margin:auto;padding:1em}
h1{font-size:1.6em;margin:.4em 0}
h2{font-size:1.25em;margin:1.4em 0 .5em;color:#2f6f8f}
a{color:#1d6a95}
.lead{font-size:1.1em}
.panel{background:#fff;border:1px solid #dde3e8;border-radius:8px;padding:1em 1.2em;margin:1em 0}
ol.steps li{margin:.5em 0}
.menu{font-weight:bold;background:#eef4f7;border:1px solid #cfdde6;border-radius:4px;padding:0 .35em}
.button{display:inline-block;background:#2f6f8f;color:#fff;border:0;border-radius:6px;padding:.45em 1em;
  text-decoration:none;font:inherit;cursor:pointer}
.button.secondary{background:#e6eef3;color:#25313b}
.grid{display:grid;grid-template-columns:repeat(auto-fill,minmax(210px,1fr));gap:1em}
.card{background:#fff;border:1px solid #dde3e8;border-radius:8px;overflow:hidden;display:flex;flex-direction:column}
.card .body{padding:.6em .8em;flex:1}
.card .title{font-weight:bold;word-wrap:break-word}
.card .meta,.meta{color:#5b6873;font-size:.9em}
.card .actions{padding:.6em .8em;border-top:1px solid #eef1f4}
.thumb{display:block;width:100%;height:150px;object-fit:contain;background:#fafbfc}
.placeholder{display:flex;align-items:center;justify-content:center;height:150px;background:#eef1f4;
  color:#8a96a0;font-size:.9em}
.preview{max-width:100%;border:1px solid #dde3e8;background:#fff}
.preview-placeholder{height:240px}
.notice{background:#fff4e5;border:1px solid #f3c98b;border-radius:6px;padding:.6em 1em}
form.login{display:flex;flex-wrap:wrap;gap:.6em;align-items:end}
form.login label{display:flex;flex-direction:column;font-size:.9em}
input{font:inherit;padding:.3em .5em;border:1px solid #b9c6cf;border-radius:4px}
footer{max-width:960px;margin:2em auto;padding:0 1em;color:#8a96a0;font-size:.85em}
)css";

}  // namespace

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string PageLayout(std::string_view title, std::string_view body) {
  std::string page =
      "<!DOCTYPE html>\n<html lang=\"fr\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
  page += HtmlEscape(title);
  page += " – Casavo</title>\n<style>";
  page += kStyle;
  page +=
      "</style>\n</head>\n<body>\n<header><div class=\"bar\">"
      "<a class=\"brand\" href=\"/soft.php?action=site_accueil\">Casavo</a><nav>"
      "<a href=\"/soft.php?action=site_accueil\">Accueil</a> · "
      "<a href=\"/fr/mesplans\">Galerie des plans</a> · "
      "<a href=\"/fr/aide\">Aide</a></nav></div></header>\n<main>\n";
  page += body;
  page +=
      "\n</main>\n<footer>Casavo – vos plans de maison, simplement.</footer>\n</body>\n</html>\n";
  return page;
}

}  // namespace casavo::service
