// A strict well-formedness check of the HTML pages the logs and exports
// write.
#pragma once

#include <string>

namespace orrimar::logtest {

// A strict well-formedness check of an HTML page written as XHTML: a
// doctype, then elements that nest and close properly (void elements
// self-closed), attribute values quoted, and text and attribute values with
// no raw '<' and no '&' outside an entity or a CDATA section. Returns "" or the first fault.
std::string checkWellFormed(const std::string& page);

}  // namespace orrimar::logtest
