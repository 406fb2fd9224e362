// Accessors over libxml2 nodes: children, attributes, text.

#include "files/xml_doc.h"

namespace casavo {
namespace {

std::string TakeString(xmlChar* text) {
  std::string out(text ? reinterpret_cast<const char*>(text) : "");
  xmlFree(text);
  return out;
}

}  // namespace

xmlNode* FindChildElement(const xmlNode* parent, const char* name) {
  if (!parent) return nullptr;
  for (xmlNode* child = parent->children; child; child = child->next)
    if (child->type == XML_ELEMENT_NODE && xmlStrEqual(child->name, XmlName(name))) return child;
  return nullptr;
}

std::optional<std::string> XmlAttribute(const xmlNode* node, const char* name) {
  xmlChar* value = xmlGetProp(node, XmlName(name));
  if (!value) return std::nullopt;
  return TakeString(value);
}

std::string XmlText(const xmlNode* node) {
  return TakeString(xmlNodeGetContent(node));
}

}  // namespace casavo
