#include "engine/filter/xml_document.h"
#include "platform/app_exception.h"
#include "platform/com_ptr.h"
#include "platform/path_util.h"

#include <windows.h>

#include <msxml2.h>
#include <oleauto.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Filter files are small; anything larger is refused before the parser sees it.
constexpr long kMaxFileSize = 16 * 1024 * 1024;

// Where the installed parser ignores ProhibitDTD, an internal subset's entities would be
// expanded inside load(), before the document could be refused. A filter file has no use for
// a document type, so one is looked for in the raw bytes first, in 8-bit and both UTF-16
// byte orders.
bool DeclaresDocumentType(const std::string& bytes) {
    static const char kMarker[] = "<!DOCTYPE";
    const std::size_t length = sizeof(kMarker) - 1;
    if (bytes.find(kMarker) != std::string::npos) {
        return true;
    }
    for (std::size_t high = 0; high < 2; ++high) {
        std::string wide;
        for (std::size_t i = 0; i < length; ++i) {
            wide.push_back(high ? '\0' : kMarker[i]);
            wide.push_back(high ? kMarker[i] : '\0');
        }
        if (bytes.find(wide) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// False when the file cannot be read, is too large, or declares a document type.
bool IsAcceptableFile(const std::string& path) {
    std::FILE* file = OpenPathFile(path, "rb");
    if (file == nullptr) {
        return false;
    }
    std::string bytes;
    char block[4096];
    std::size_t read = 0;
    while ((read = std::fread(block, 1, sizeof block, file)) > 0 &&
           bytes.size() + read <= static_cast<std::size_t>(kMaxFileSize)) {
        bytes.append(block, read);
    }
    const bool whole = read == 0 && !std::ferror(file);
    std::fclose(file);
    return whole && !bytes.empty() && !DeclaresDocumentType(bytes);
}

// The interface identifiers, spelled out: not every toolchain's uuid library carries them all.
const GUID kIIDDocument = {
    0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const GUID kIIDDocument2 = {
    0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};
const GUID kIIDElement = {
    0x2933BF86, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

// Owns one BSTR.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const char* text) {
        const int count = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
        if (count > 0) {
            m_bstr = SysAllocStringLen(nullptr, static_cast<UINT>(count - 1));
            if (m_bstr) {
                MultiByteToWideChar(CP_ACP, 0, text, -1, m_bstr, count);
            }
        }
        if (!m_bstr) {
            throw XmlComponentError{static_cast<std::uint32_t>(E_OUTOFMEMORY), "out of memory"};
        }
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(m_bstr); }

    BSTR Get() const { return m_bstr; }
    BSTR* Out() {
        SysFreeString(m_bstr);
        m_bstr = nullptr;
        return &m_bstr;
    }

private:
    BSTR m_bstr = nullptr;
};

std::string ToNarrow(const wchar_t* text, int length) {
    if (!text || length <= 0) {
        return {};
    }
    const int count = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string result(count > 0 ? count : 0, '\0');
    if (count > 0) {
        WideCharToMultiByte(CP_ACP, 0, text, length, result.data(), count, nullptr, nullptr);
    }
    return result;
}

std::string ToNarrow(BSTR text) {
    return ToNarrow(text, text ? static_cast<int>(SysStringLen(text)) : 0);
}

[[noreturn]] void ThrowComponentError(HRESULT hr) {
    XmlComponentError error;
    error.status = static_cast<std::uint32_t>(hr);
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    if (buffer) {
        error.text.assign(buffer, length);
        LocalFree(buffer);
        while (!error.text.empty() && (error.text.back() == '\n' || error.text.back() == '\r')) {
            error.text.pop_back();
        }
    }
    throw error;
}

void Check(HRESULT hr) {
    if (FAILED(hr)) {
        ThrowComponentError(hr);
    }
}

class CMsXmlElement : public CXmlElement {
public:
    explicit CMsXmlElement(IXMLDOMElement* element) : m_element(element) {}
    ~CMsXmlElement() override { m_element->Release(); }

    std::string GetName() const override {
        Bstr name;
        Check(m_element->get_nodeName(name.Out()));
        return ToNarrow(name.Get());
    }

    bool GetAttribute(const char* name, std::string& value) const override {
        Bstr wideName(name);
        ComPtr<IXMLDOMAttribute> attribute;
        Check(m_element->getAttributeNode(wideName.Get(), attribute.Out()));
        if (!attribute) {
            return false;
        }
        VARIANT content;
        VariantInit(&content);
        Check(attribute->get_value(&content));
        if (content.vt == VT_BSTR) {
            value = ToNarrow(content.bstrVal);
        } else {
            value.clear();
        }
        VariantClear(&content);
        return true;
    }

    std::unique_ptr<CXmlElement> FindChild(const char* name) const override {
        std::vector<std::unique_ptr<CXmlElement>> children;
        GetChildElements(children);
        for (auto& child : children) {
            if (child->GetName() == name) {
                return std::move(child);
            }
        }
        return nullptr;
    }

    bool GetChildElements(std::vector<std::unique_ptr<CXmlElement>>& children) const override {
        children.clear();
        ComPtr<IXMLDOMNodeList> list;
        if (FAILED(m_element->get_childNodes(list.Out())) || !list) {
            return false;
        }
        long count = 0;
        Check(list->get_length(&count));
        for (long i = 0; i < count; ++i) {
            ComPtr<IXMLDOMNode> node;
            Check(list->get_item(i, node.Out()));
            DOMNodeType type = NODE_INVALID;
            if (!node || FAILED(node->get_nodeType(&type)) || type != NODE_ELEMENT) {
                continue;
            }
            IXMLDOMElement* element = nullptr;
            Check(node->QueryInterface(kIIDElement, reinterpret_cast<void**>(&element)));
            children.push_back(std::make_unique<CMsXmlElement>(element));
        }
        return true;
    }

private:
    IXMLDOMElement* m_element; // one reference, owned
};

class CMsXmlDocument : public CXmlDocument {
public:
    CMsXmlDocument() {
        CLSID clsid;
        HRESULT hr = CLSIDFromProgID(L"Msxml2.DOMDocument", &clsid);
        if (FAILED(hr)) {
            hr = CLSIDFromProgID(L"Microsoft.XMLDOM", &clsid);
        }
        Check(hr);
        Check(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIIDDocument,
                               reinterpret_cast<void**>(m_document.Out())));
        Check(m_document->put_async(VARIANT_FALSE));
        Check(m_document->put_validateOnParse(VARIANT_FALSE));
        Check(m_document->put_resolveExternals(VARIANT_FALSE));
        // Only some versions know the property; where it is unknown, Load refuses a document
        // type before the parser sees it.
        ComPtr<IXMLDOMDocument2> document2;
        if (SUCCEEDED(m_document->QueryInterface(kIIDDocument2,
                                                 reinterpret_cast<void**>(document2.Out())))) {
            Bstr name("ProhibitDTD");
            VARIANT on;
            VariantInit(&on);
            on.vt = VT_BOOL;
            on.boolVal = VARIANT_TRUE;
            document2->setProperty(name.Get(), on);
        }
    }

    bool Load(const std::string& path) override {
        if (!IsAcceptableFile(path)) {
            return false;
        }
        // By its wide form: a path outside the code page has no 8-bit one.
        const std::wstring wide = WidePath(path);
        BSTR widePath = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        if (widePath == nullptr) {
            throw XmlComponentError{static_cast<std::uint32_t>(E_OUTOFMEMORY), "out of memory"};
        }
        VARIANT source;
        VariantInit(&source);
        source.vt = VT_BSTR;
        source.bstrVal = widePath;
        VARIANT_BOOL success = VARIANT_FALSE;
        // A file that cannot be read or parsed is a parse error, not a component failure.
        const HRESULT hr = m_document->load(source, &success);
        SysFreeString(widePath);
        if (hr != S_OK || success != VARIANT_TRUE) {
            return false;
        }
        ComPtr<IXMLDOMDocumentType> doctype;
        Check(m_document->get_doctype(doctype.Out()));
        return !doctype;
    }

    std::unique_ptr<CXmlElement> GetRoot() const override {
        IXMLDOMElement* root = nullptr;
        Check(m_document->get_documentElement(&root));
        return root ? std::make_unique<CMsXmlElement>(root) : nullptr;
    }

private:
    ComPtr<IXMLDOMDocument> m_document;
};

} // namespace

std::unique_ptr<CXmlDocument> CreateXmlDocument() {
    return std::make_unique<CMsXmlDocument>();
}
