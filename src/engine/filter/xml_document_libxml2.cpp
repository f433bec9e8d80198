#include "engine/filter/xml_document.h"
#include "platform/app_exception.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

// A filter file is a few kilobytes; anything far larger is not one and is not read into memory.
constexpr std::streamsize kMaxFileSize = 16 * 1024 * 1024;

std::string QualifiedName(const xmlChar* name, const xmlNs* ns) {
    std::string result;
    if (ns && ns->prefix) {
        result = reinterpret_cast<const char*>(ns->prefix);
        result += ':';
    }
    if (name) {
        result += reinterpret_cast<const char*>(name);
    }
    return result;
}

class CLibXmlElement : public CXmlElement {
public:
    explicit CLibXmlElement(xmlNodePtr node) : m_node(node) {}

    std::string GetName() const override { return QualifiedName(m_node->name, m_node->ns); }

    bool GetAttribute(const char* name, std::string& value) const override {
        for (xmlAttrPtr attr = m_node->properties; attr; attr = attr->next) {
            if (QualifiedName(attr->name, attr->ns) != name) {
                continue;
            }
            xmlChar* text = xmlNodeGetContent(reinterpret_cast<xmlNodePtr>(attr));
            value = text ? reinterpret_cast<const char*>(text) : "";
            xmlFree(text);
            return true;
        }
        return false;
    }

    std::unique_ptr<CXmlElement> FindChild(const char* name) const override {
        for (xmlNodePtr child = m_node->children; child; child = child->next) {
            if (child->type == XML_ELEMENT_NODE && QualifiedName(child->name, child->ns) == name) {
                return std::make_unique<CLibXmlElement>(child);
            }
        }
        return nullptr;
    }

    bool GetChildElements(std::vector<std::unique_ptr<CXmlElement>>& children) const override {
        children.clear();
        for (xmlNodePtr child = m_node->children; child; child = child->next) {
            if (child->type == XML_ELEMENT_NODE) {
                children.push_back(std::make_unique<CLibXmlElement>(child));
            }
        }
        return true;
    }

private:
    xmlNodePtr m_node; // owned by the document
};

// Called by the parser at a DOCTYPE, before any declaration of it is read: a filter file has
// no use for one, and refusing it keeps every kind of entity trick out.
void RefuseDoctype(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
    auto* parser = static_cast<xmlParserCtxtPtr>(context);
    *static_cast<bool*>(parser->_private) = true;
    xmlStopParser(parser);
}

class CLibXmlDocument : public CXmlDocument {
public:
    ~CLibXmlDocument() override { Reset(); }

    bool Load(const std::string& path) override {
        Reset();
        std::string content;
        if (!ReadFile(path, content)) {
            return false;
        }
        xmlParserCtxtPtr parser = xmlNewParserCtxt();
        if (!parser) {
            throw XmlComponentError{0x8007000Eu, "libxml2: out of memory"};
        }
        bool sawDoctype = false;
        parser->_private = &sawDoctype;
        parser->sax->internalSubset = RefuseDoctype;
        // No network, no entity substitution, no DTD loading; errors stay quiet.
        const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
        xmlDocPtr doc = xmlCtxtReadMemory(parser, content.data(), static_cast<int>(content.size()),
                                          nullptr, nullptr, options);
        const bool ok = doc && parser->wellFormed && !sawDoctype;
        xmlFreeParserCtxt(parser);
        if (!ok) {
            xmlFreeDoc(doc);
            return false;
        }
        m_doc = doc;
        return true;
    }

    std::unique_ptr<CXmlElement> GetRoot() const override {
        xmlNodePtr root = m_doc ? xmlDocGetRootElement(m_doc) : nullptr;
        return root ? std::make_unique<CLibXmlElement>(root) : nullptr;
    }

private:
    static bool ReadFile(const std::string& path, std::string& content) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            return false;
        }
        in.seekg(0, std::ios::end);
        const std::streamsize size = in.tellg();
        if (size < 0 || size > kMaxFileSize) {
            return false;
        }
        in.seekg(0, std::ios::beg);
        content.assign(static_cast<std::size_t>(size), '\0');
        return static_cast<bool>(in.read(content.data(), size)) && size > 0;
    }

    void Reset() {
        xmlFreeDoc(m_doc);
        m_doc = nullptr;
    }

    xmlDocPtr m_doc = nullptr;
};

} // namespace

std::unique_ptr<CXmlDocument> CreateXmlDocument() {
    return std::make_unique<CLibXmlDocument>();
}
