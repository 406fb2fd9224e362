// HTML escaping and PageLayout.

#pragma once

#include <string>
#include <string_view>

namespace casavo::service {

// Text (UTF-8) made safe inside HTML elements and quoted attribute values.
std::string HtmlEscape(std::string_view text);

// A whole page: the common head, stylesheet, navigation bar and footer
// around `body`, which must already be HTML. `title` is plain text.
std::string PageLayout(std::string_view title, std::string_view body);

}  // namespace casavo::service
