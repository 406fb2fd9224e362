// Writer of the XML plan text.

#include <libxml/chvalid.h>
#include <libxml/dict.h>
#include <libxml/xmlstring.h>

#include <algorithm>
#include <clocale>
#include <memory>
#include <stdexcept>
#include <string>

#include "files/number_text.h"
#include "files/plan_xml.h"
#include "files/xml_doc.h"

namespace casavo {
namespace {

// Text fit for an XML document: a malformed UTF-8 byte or a character that
// XML cannot carry (a control character, NUL) becomes '?', so that a stray
// character in a name never makes the whole plan text unreadable.
std::string XmlSafeText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    int len = static_cast<int>(std::min<size_t>(4, utf8.size() - pos));
    const int c = xmlGetUTF8Char(reinterpret_cast<const xmlChar*>(utf8.data() + pos), &len);
    if (c <= 0 || len <= 0 || !xmlIsCharQ(c)) {
      out += '?';
      pos += 1;
    } else {
      out.append(utf8.substr(pos, static_cast<size_t>(len)));
      pos += static_cast<size_t>(len);
    }
  }
  return out;
}

// The user's decimal separator: the area is only for people reading the file.
std::string RegionalReal(double value) {
  std::string text = FormatReal(value);
  const char* separator = std::localeconv()->decimal_point;
  const auto dot = text.find('.');
  if (dot != std::string::npos && separator && *separator) text.replace(dot, 1, separator);
  return text;
}

void SetAttribute(xmlNode* node, const char* name, std::string_view value) {
  xmlNewProp(node, XmlName(name), XmlName(XmlSafeText(value).c_str()));
}

void SetAttribute(xmlNode* node, const char* name, int32_t value) {
  SetAttribute(node, name, std::to_string(value));
}

xmlNode* AddElement(xmlNode* parent, const char* name) {
  return xmlNewChild(parent, nullptr, XmlName(name), nullptr);
}

void AddTextElement(xmlNode* parent, const char* name, const std::string& text) {
  xmlNewTextChild(parent, nullptr, XmlName(name), XmlName(text.c_str()));
}

void WriteView(xmlNode* root, const TCasaPlan& plan) {
  xmlNode* view = AddElement(root, "affichage");
  AddTextElement(view, "x0", std::to_string(plan.x0));
  AddTextElement(view, "y0", std::to_string(plan.y0));
  AddTextElement(view, "zx", FormatReal(plan.zx));
  AddTextElement(view, "zy", FormatReal(plan.zy));
}

xmlNode* AddList(xmlNode* parent, const char* name, int32_t count) {
  xmlNode* list = AddElement(parent, name);
  SetAttribute(list, "nbre", count);
  return list;
}

void WriteWalls(xmlNode* parent, const TCasaPlan& plan) {
  xmlNode* walls = AddList(parent, "murs", plan.WallCount);
  for (int32_t i = 1; i <= plan.WallCount; ++i) {
    const TWall& wall = plan.Walls[i];
    const TPoint a = plan.Corners[wall.C1];
    const TPoint b = plan.Corners[wall.C2];
    xmlNode* node = AddElement(walls, "mur");
    SetAttribute(node, "id", i);
    SetAttribute(node, "x1", a.x);
    SetAttribute(node, "y1", a.y);
    SetAttribute(node, "x2", b.x);
    SetAttribute(node, "y2", b.y);
    SetAttribute(node, "epais", wall.epais);
  }
}

void WriteOpenings(xmlNode* parent, const TCasaPlan& plan) {
  xmlNode* openings = AddList(parent, "trous", plan.OpeningCount);
  for (int32_t i = 1; i <= plan.OpeningCount; ++i) {
    const TOpening& o = plan.Openings[i];
    xmlNode* node = AddElement(openings, "trou");
    SetAttribute(node, "id", i);
    SetAttribute(node, "imur", o.imur);
    SetAttribute(node, "large", o.large);
    SetAttribute(node, "dcoin1", o.dcoin1);
    SetAttribute(node, "sorte", o.sorte);
    SetAttribute(node, "volet", o.volet);
    SetAttribute(node, "cote", o.cote);
  }
}

void WriteObjects(xmlNode* parent, const TCasaPlan& plan) {
  xmlNode* objects = AddList(parent, "objets", plan.ObjectCount);
  for (int32_t i = 1; i <= plan.ObjectCount; ++i) {
    const TObjet& o = plan.Objects[i];
    xmlNode* node = AddElement(objects, "objet");
    SetAttribute(node, "id", i);
    SetAttribute(node, "x", o.x);
    SetAttribute(node, "y", o.y);
    SetAttribute(node, "l", o.l);
    SetAttribute(node, "h", o.h);
    SetAttribute(node, "a", o.a);
    if (o.groupe >= 0) SetAttribute(node, "groupe", o.groupe);
    if (!o.nom.empty()) SetAttribute(node, "nom", o.nom);
    if (!o.modele.empty()) SetAttribute(node, "modele", o.modele);
  }
}

xmlNode* AddRoom(xmlNode* rooms, const TCasaPlan& plan, int32_t id, const std::string& hash) {
  xmlNode* node = AddElement(rooms, "piece");
  SetAttribute(node, "id", id);
  SetAttribute(node, "hash", hash);
  SetAttribute(node, "nom", plan.RoomNames.Value(hash));
  SetAttribute(node, "sorte", plan.RoomKinds.Value(hash));
  SetAttribute(node, "couleur", plan.RoomColours.Value(hash));
  return node;
}

// The detected rooms; without any, the named rooms remembered from a file.
void WriteRooms(xmlNode* parent, const TCasaPlan& plan) {
  if (plan.RoomCount >= 1) {
    xmlNode* rooms = AddList(parent, "pieces", plan.RoomCount);
    for (int32_t i = 1; i <= plan.RoomCount; ++i) {
      const TPiece& room = plan.Rooms[i];
      SetAttribute(AddRoom(rooms, plan, i, room.hash), "surface", RegionalReal(room.surface));
    }
  } else if (!plan.RoomNames.Empty()) {
    xmlNode* rooms = AddList(parent, "pieces", plan.RoomNames.Count());
    for (int32_t i = 0; i < plan.RoomNames.Count(); ++i)
      AddRoom(rooms, plan, i + 1, plan.RoomNames.KeyAt(i));
  }
}

// The picture traced over: only when there is one, so other plans read as before.
void WriteTrace(xmlNode* root, const TTrace& trace) {
  if (!trace.Present()) return;
  xmlNode* node = AddElement(root, "calque");
  SetAttribute(node, "fichier", trace.path);
  SetAttribute(node, "echelle", FormatReal(trace.scale));
  SetAttribute(node, "x", FormatReal(trace.x));
  SetAttribute(node, "y", FormatReal(trace.y));
  SetAttribute(node, "angle", FormatReal(trace.angle));
  SetAttribute(node, "page", trace.page);
  SetAttribute(node, "opacite", FormatReal(trace.opacity));
  SetAttribute(node, "visible", trace.visible ? 1 : 0);
  SetAttribute(node, "verrou", trace.locked ? 1 : 0);
}

std::string Serialise(xmlDoc* doc) {
  xmlChar* dumped = nullptr;
  int size = 0;
  xmlDocDumpFormatMemoryEnc(doc, &dumped, &size, "ISO-8859-1", 1);
  const std::unique_ptr<xmlChar, void (*)(xmlChar*)> bytes(dumped, [](xmlChar* p) { xmlFree(p); });
  if (!bytes) throw std::runtime_error("Impossible d'écrire le texte du plan");
  const std::string_view lf(reinterpret_cast<const char*>(bytes.get()), static_cast<size_t>(size));
  // libxml2 ends lines with LF; line breaks inside values are written as
  // character references, so every LF here is a line end.
  std::string crlf;
  crlf.reserve(lf.size() + static_cast<size_t>(std::count(lf.begin(), lf.end(), '\n')));
  size_t start = 0;
  for (size_t end = lf.find('\n'); end != std::string_view::npos; end = lf.find('\n', start)) {
    crlf.append(lf.substr(start, end - start)).append("\r\n");
    start = end + 1;
  }
  crlf.append(lf.substr(start));
  return crlf;
}

}  // namespace

std::string WritePlanXml(const TCasaPlan& plan) {
  XmlDocPtr doc(xmlNewDoc(XmlName("1.0")));
  // Element and attribute names are kept once in a dictionary instead of once
  // per node: a large plan has tens of thousands of them.
  doc->dict = xmlDictCreate();
  if (!doc->dict) throw std::runtime_error("Impossible d'écrire le texte du plan");
  xmlNode* root = xmlNewDocNode(doc.get(), nullptr, XmlName("Casavo"), nullptr);
  xmlDocSetRootElement(doc.get(), root);
  SetAttribute(root, "version", "2.2");
  SetAttribute(root, "decimal", ".");
  WriteView(root, plan);
  xmlNode* planNode = AddElement(root, "plan");
  WriteWalls(planNode, plan);
  WriteOpenings(planNode, plan);
  WriteObjects(planNode, plan);
  WriteRooms(planNode, plan);
  // Only a height the user chose: the text of every other plan stays as it was.
  if (plan.WallHeight != TCasaPlan::kDefaultWallHeight)
    AddTextElement(planNode, "hauteur_murs", std::to_string(plan.WallHeight));
  WriteTrace(root, plan.Trace);
  return Serialise(doc.get());
}

}  // namespace casavo
