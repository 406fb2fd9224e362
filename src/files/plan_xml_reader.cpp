// Reader of the XML plan text (libxml2), ISO-8859-1 and UTF-8.

#include <libxml/parser.h>
#include <libxml/xmlIO.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <optional>

#include "common/text.h"
#include "files/number_text.h"
#include "files/plan_filler.h"
#include "files/xml_doc.h"

namespace casavo {
namespace {

constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

// A plan text never needs anything outside itself; nothing is ever fetched.
// The loader is process-wide: plan texts are the only XML this program reads.
xmlParserInputPtr RefuseExternalEntity(const char*, const char*, xmlParserCtxtPtr) {
  return nullptr;
}

struct XmlParse {
  XmlDocPtr doc;
  std::string error;
};

XmlParse ParseXml(std::string_view text) {
  [[maybe_unused]] static const bool loaderSet =
      (xmlSetExternalEntityLoader(RefuseExternalEntity), true);
  if (text.size() > INT_MAX) return {nullptr, "Texte du plan trop long"};
  const std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> ctxt(xmlNewParserCtxt(),
                                                                        xmlFreeParserCtxt);
  if (!ctxt) return {nullptr, "Mémoire insuffisante pour lire le plan"};
  XmlDocPtr doc(xmlCtxtReadMemory(ctxt.get(), text.data(), static_cast<int>(text.size()), nullptr,
                                  nullptr, kParseOptions));
  if (!doc) {
    const xmlError* e = xmlCtxtGetLastError(ctxt.get());
    std::string why = e && e->message ? e->message : "erreur inconnue";
    while (!why.empty() && (why.back() == '\n' || why.back() == ' ')) why.pop_back();
    const int line = e ? e->line : 0;
    return {nullptr, "Document XML illisible (ligne " + std::to_string(line) + ") : " + why};
  }
  // Entity declarations are the door to expansion bombs; a plan never has them.
  if (doc->intSubset || doc->extSubset) return {nullptr, "Déclaration de type de document refusée"};
  return {std::move(doc), {}};
}

// Names as the program keeps them. Older Windows versions wrote Windows-1252
// bytes under an ISO-8859-1 declaration: the C1 controls U+0080..U+009F that
// come out of those bytes stand for the Windows characters (0x80 is the euro).
std::string ProgramText(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
    if (static_cast<unsigned char>(utf8[i]) == 0xC2 && next >= 0x80 && next <= 0x9F) {
      out += Cp1252ToUtf8(std::string(1, static_cast<char>(next)));
      ++i;
    } else {
      out += utf8[i];
    }
  }
  return out;
}

std::optional<int32_t> IntAttribute(const xmlNode* node, const char* name) {
  const auto text = XmlAttribute(node, name);
  return text ? ParseInt(*text) : std::nullopt;
}

std::optional<std::string> TextAttribute(const xmlNode* node, const char* name) {
  const auto text = XmlAttribute(node, name);
  return text ? std::optional(ProgramText(*text)) : std::nullopt;
}

template <class Handle>
void ForEachChild(const xmlNode* list, Handle handle) {
  if (!list) return;
  for (const xmlNode* child = list->children; child; child = child->next)
    if (child->type == XML_ELEMENT_NODE) handle(child);
}

std::optional<std::string> ChildText(const xmlNode* parent, const char* name) {
  const xmlNode* child = FindChildElement(parent, name);
  return child ? std::optional(XmlText(child)) : std::nullopt;
}

std::optional<double> ChildReal(const xmlNode* parent, const char* name) {
  const auto text = ChildText(parent, name);
  return text ? ParseReal(*text) : std::nullopt;
}

int32_t ChildIntOrZero(const xmlNode* parent, const char* name) {
  const auto text = ChildText(parent, name);
  return text ? ParseInt(*text).value_or(0) : 0;
}

// Fails when a zoom factor cannot be read.
bool ReadView(const xmlNode* root, PlanFiller& filler, PlanReadResult& result) {
  const xmlNode* view = FindChildElement(root, "affichage");
  const auto zx = ChildReal(view, "zx");
  const auto zy = ChildReal(view, "zy");
  if (!zx || !zy) {
    result.ok = false;
    result.error = "Facteurs de zoom du plan illisibles";
    return false;
  }
  filler.SetView(ChildIntOrZero(view, "x0"), ChildIntOrZero(view, "y0"), *zx, *zy);
  return true;
}

void ReadWalls(const xmlNode* plan, PlanFiller& filler) {
  ForEachChild(FindChildElement(plan, "murs"), [&](const xmlNode* mur) {
    const auto y2 = IntAttribute(mur, "y2"), x2 = IntAttribute(mur, "x2");
    const auto y1 = IntAttribute(mur, "y1"), x1 = IntAttribute(mur, "x1");
    if (x1 && y1 && x2 && y2) filler.AddWall({*x1, *y1}, {*x2, *y2}, IntAttribute(mur, "epais"));
  });
}

void ReadOpenings(const xmlNode* plan, PlanFiller& filler) {
  ForEachChild(FindChildElement(plan, "trous"), [&](const xmlNode* trou) {
    const auto dcoin1 = IntAttribute(trou, "dcoin1"), sorte = IntAttribute(trou, "sorte");
    const auto volet = IntAttribute(trou, "volet"), cote = IntAttribute(trou, "cote");
    const auto large = IntAttribute(trou, "large"), imur = IntAttribute(trou, "imur");
    if (dcoin1 && sorte && volet && cote && large && imur)
      filler.AddOpening(*imur, *large, *dcoin1, *sorte, *volet, *cote);
  });
}

void ReadObjects(const xmlNode* plan, PlanFiller& filler) {
  ForEachChild(FindChildElement(plan, "objets"), [&](const xmlNode* objet) {
    const auto value = [objet](const char* name, int32_t fallback) {
      return IntAttribute(objet, name).value_or(fallback);
    };
    filler.AddObjet(value("x", 0), value("y", 0), value("l", 600), value("h", 600), value("a", 0),
                    value("groupe", -1), TextAttribute(objet, "nom").value_or(""),
                    TextAttribute(objet, "modele").value_or(""));
  });
}

void ReadRooms(const xmlNode* planNode, TCasaPlan& plan) {
  ForEachChild(FindChildElement(planNode, "pieces"), [&](const xmlNode* piece) {
    const auto hash = TextAttribute(piece, "hash");
    if (!hash || hash->empty()) return;
    plan.RoomNames.SetValue(*hash, TextAttribute(piece, "nom").value_or(""));
    plan.RoomKinds.SetValue(*hash, TextAttribute(piece, "sorte").value_or(""));
    // A room without a colour is shown light grey; the file says so explicitly.
    const std::string colour = TextAttribute(piece, "couleur").value_or("");
    plan.RoomColours.SetValue(*hash, colour.empty() ? "F0F0F0" : colour);
  });
}

// A height outside the bounds a user can type keeps the default.
void ReadWallHeight(const xmlNode* planNode, TCasaPlan& plan) {
  const int32_t height = ChildIntOrZero(planNode, "hauteur_murs");
  if (height >= TCasaPlan::kMinWallHeight && height <= TCasaPlan::kMaxWallHeight)
    plan.WallHeight = height;
}

// A placement that cannot be read keeps the picture where a fresh import puts it.
void ReadTrace(const xmlNode* root, TTrace& trace) {
  const xmlNode* node = FindChildElement(root, "calque");
  if (!node) return;
  const auto path = TextAttribute(node, "fichier");
  if (!path || path->empty()) return;
  trace.path = *path;
  const auto real = [node](const char* name, double fallback) {
    const auto text = XmlAttribute(node, name);
    const auto value = text ? ParseReal(*text) : std::nullopt;
    return value && std::isfinite(*value) ? *value : fallback;
  };
  trace.scale = std::max(0.0, real("echelle", 0));
  trace.x = real("x", 0);
  trace.y = real("y", 0);
  trace.angle = real("angle", 0);
  trace.page = std::max(0, IntAttribute(node, "page").value_or(0));
  trace.opacity = std::clamp(real("opacite", trace.opacity), 0.0, 1.0);
  trace.visible = IntAttribute(node, "visible").value_or(1) != 0;
  trace.locked = IntAttribute(node, "verrou").value_or(0) != 0;
}

}  // namespace

PlanReadResult ReadPlanXml(TCasaPlan& plan, std::string_view text) {
  plan.WallHeight = TCasaPlan::kDefaultWallHeight;
  plan.Trace = TTrace();
  if (!text.starts_with("<?xml")) return ReadPlanLines(plan, text);
  PlanReadResult result;
  PlanFiller filler(plan, result);
  const XmlParse parse = ParseXml(text);
  const xmlNode* root = parse.doc ? xmlDocGetRootElement(parse.doc.get()) : nullptr;
  if (!parse.doc) {
    result.ok = false;
    result.error = parse.error;
  } else if (!root || !xmlStrEqual(root->name, XmlName("Casavo"))) {
    result.ok = false;
    result.error = "Ce document n'est pas un plan Casavo";
  } else if (ReadView(root, filler, result)) {
    const xmlNode* planNode = FindChildElement(root, "plan");
    ReadWalls(planNode, filler);
    filler.WallsRead();
    ReadOpenings(planNode, filler);
    ReadObjects(planNode, filler);
    ReadRooms(planNode, plan);
    ReadWallHeight(planNode, plan);
    ReadTrace(root, plan.Trace);
  }
  return result;
}

}  // namespace casavo
