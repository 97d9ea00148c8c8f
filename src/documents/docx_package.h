// Inside of WordDocument, shared by the files of src/documents only (the page layout reads the
// parsed body and styles directly).
#pragma once

#include <pugixml.hpp>
#include <string>
#include <utility>
#include <vector>

#include "documents/docx.h"
#include "documents/zip_parts.h"

namespace daike::docx_detail {

using Entry = zip_parts::Entry;

struct Package {
    std::string name;                    // file name for messages
    std::vector<Entry> entries;          // every part in archive order, as read
    std::string mainPart;                // "word/document.xml" usually
    pugi::xml_document document;         // the main part, parsed
    pugi::xml_document styles;           // word/styles.xml, parsed (empty when missing)
    std::vector<pugi::xml_node> tables;  // body tables in order (cache, rebuilt after changes)

    void indexTables();
};

// w:body of the main part.
pugi::xml_node body(const Package& p);

}  // namespace daike::docx_detail
