#pragma once

#include <memory>
#include <string>
#include <vector>

// The few DOM operations the filter reader needs, over the platform's XML component: MSXML on
// Windows, libxml2 elsewhere. Text comes back in the narrow (8-bit) encoding of the system.
//
// A failure of the component itself (it cannot be created, a call reports an error status) is
// thrown as XmlComponentError (filter/app_exception.h); a document that does not parse is a
// plain false from Load.

class CXmlElement {
public:
    virtual ~CXmlElement() = default;

    // The element's qualified name, as written in the document.
    virtual std::string GetName() const = 0;
    // False when the attribute is absent; an empty value is present.
    virtual bool GetAttribute(const char* name, std::string& value) const = 0;
    // The first direct child element of that name (case-sensitive), or null.
    virtual std::unique_ptr<CXmlElement> FindChild(const char* name) const = 0;
    // The element children in document order, skipping text, comments and processing
    // instructions. False when the child list cannot be had.
    virtual bool GetChildElements(std::vector<std::unique_ptr<CXmlElement>>& children) const = 0;
};

class CXmlDocument {
public:
    virtual ~CXmlDocument() = default;

    // Parses the file synchronously. Nothing outside the file is ever fetched: a document
    // that declares a DTD is refused, so neither external nor expanding entities get in.
    virtual bool Load(const std::string& path) = 0;
    // The root element, or null when the document has none.
    virtual std::unique_ptr<CXmlElement> GetRoot() const = 0;
};

// A new, empty document of the platform's XML component. On Windows COM must already be
// initialised on the calling thread.
std::unique_ptr<CXmlDocument> CreateXmlDocument();
