// Owning handles and accessors over the libxml2 tree.

#pragma once

#include <libxml/tree.h>

#include <memory>
#include <optional>
#include <string>

namespace casavo {

// Owning handles and small accessors over the libxml2 tree, shared by the plan
// writer and reader.
struct XmlDocFree {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDocPtr = std::unique_ptr<xmlDoc, XmlDocFree>;

inline const xmlChar* XmlName(const char* name) {
  return reinterpret_cast<const xmlChar*>(name);
}

// The first element child of parent with that name, or null.
xmlNode* FindChildElement(const xmlNode* parent, const char* name);

// An attribute's value (UTF-8), or nullopt when the element has none.
std::optional<std::string> XmlAttribute(const xmlNode* node, const char* name);

// The text content of an element (UTF-8).
std::string XmlText(const xmlNode* node);

}  // namespace casavo
