#include "duilib/dialog_builder.h"

#include <pugixml.hpp>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/text/code_page.h"
#include "duilib/button.h"
#include "duilib/combo.h"
#include "duilib/container.h"
#include "duilib/edit.h"
#include "duilib/label.h"
#include "duilib/layouts.h"
#include "duilib/menu_element.h"
#include "duilib/option.h"
#include "duilib/paint_manager.h"
#include "duilib/resources.h"
#include "duilib/slider.h"

namespace {

std::wstring Wide(const char* utf8) {
    if (!utf8) return {};
    return text::CodePageToWide(utf8, text::kUtf8CodePage);
}

// The images a layout names, each once, in the order the layout names them: those
// drawn while nothing is hovered, pressed or disabled, and the others.
class NamedImages {
public:
    void Note(std::string_view attribute, const std::wstring& value) {
        if (attribute.size() < 5 || attribute.substr(attribute.size() - 5) != "image") return;
        duiattr::ImageSpec spec;
        if (!duiattr::ParseImageSpec(value, spec) || !seen_.insert(spec.file).second) return;
        (DrawnAtRest(attribute) ? atRest_ : inOtherStates_).push_back(spec.file);
    }
    const std::vector<std::wstring>& AtRest() const { return atRest_; }
    const std::vector<std::wstring>& InOtherStates() const { return inOtherStates_; }

private:
    static bool DrawnAtRest(std::string_view attribute) {
        for (std::string_view state : {"hot", "pushed", "disabled", "focused", "selectedhot", "selecteddisabled"})
            if (attribute.substr(0, state.size()) == state) return false;
        return true;
    }
    std::set<std::wstring> seen_;
    std::vector<std::wstring> atRest_, inOtherStates_;
};

struct BuildContext {
    IDialogBuilderCallback* callback;
    CPaintManagerUI* manager;
    std::wstring errors;
    NamedImages images;
};

CControlUI* BuildNode(const pugi::xml_node& node, BuildContext& ctx);

void BuildChildren(const pugi::xml_node& node, CContainerUI* container, BuildContext& ctx) {
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        if (CControlUI* control = BuildNode(child, ctx)) container->Add(control);
    }
}

CControlUI* BuildNode(const pugi::xml_node& node, BuildContext& ctx) {
    std::wstring className = Wide(node.name());
    CControlUI* control = CDialogBuilder::CreateBuiltinControl(className.c_str());
    if (!control && ctx.callback) control = ctx.callback->CreateControl(className.c_str());
    if (!control) {
        ctx.errors += L"unknown control class \"" + className + L"\"; ";
        return nullptr;
    }
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
        const std::wstring value = Wide(a.value());
        control->SetAttribute(Wide(a.name()).c_str(), value.c_str());
        ctx.images.Note(a.name(), value);
    }
    auto* container = dynamic_cast<CContainerUI*>(control);
    if (container) BuildChildren(node, container, ctx);
    return control;
}

void ApplyWindowAttributes(const pugi::xml_node& window, CPaintManagerUI* manager) {
    if (!manager) return;
    for (pugi::xml_attribute a = window.first_attribute(); a; a = a.next_attribute()) {
        std::string name = a.name();
        std::wstring value = Wide(a.value());
        duiattr::Rect r;
        if (name == "size") {
            int cx = 0, cy = 0;
            if (duiattr::ParseSize(value, cx, cy)) manager->SetInitSize(cx, cy);
        } else if (name == "caption") {
            if (duiattr::ParseRect(value, r)) manager->SetCaptionRect(RECT{r.left, r.top, r.right, r.bottom});
        } else if (name == "roundcorner") {
            int cx = 0, cy = 0;
            if (duiattr::ParseSize(value, cx, cy)) manager->SetRoundCorner(cx, cy);
        } else if (name == "bkcolor") {
            std::uint32_t argb = 0;
            if (duiattr::ParseColor(value, argb)) manager->SetBackgroundColor(argb);
        }
    }
    for (pugi::xml_node font = window.child("Font"); font; font = font.next_sibling("Font")) {
        manager->AddFont(font.attribute("id").as_int(0), Wide(font.attribute("name").value()).c_str(),
                         font.attribute("size").as_int(12), font.attribute("bold").as_bool(),
                         font.attribute("underline").as_bool(), font.attribute("italic").as_bool(),
                         font.attribute("default").as_bool());
    }
}

}  // namespace

CControlUI* CDialogBuilder::CreateBuiltinControl(const wchar_t* className) {
    std::wstring_view n(className ? className : L"");
    if (n == L"Control") return new CControlUI();
    if (n == L"Container") return new CContainerUI();
    if (n == L"VerticalLayout") return new CVerticalLayoutUI();
    if (n == L"HorizontalLayout") return new CHorizontalLayoutUI();
    if (n == L"Label") return new CLabelUI();
    if (n == L"Text") return new CTextUI();
    if (n == L"Button") return new CButtonUI();
    if (n == L"Option") return new COptionUI();
    if (n == L"CheckBox") return new CCheckBoxUI();
    if (n == L"Progress") return new CProgressUI();
    if (n == L"Slider") return new CSliderUI();
    if (n == L"Edit") return new CEditUI();
    if (n == L"Combo") return new CComboUI();
    if (n == L"ListLabelElement") return new CListLabelElementUI();
    if (n == L"MenuElement") return new CMenuElementUI();
    return nullptr;
}

CControlUI* CDialogBuilder::Create(const wchar_t* xml, IDialogBuilderCallback* callback, CPaintManagerUI* manager,
                                   CControlUI*) {
    m_sError.Empty();
    std::string bytes;
    std::wstring error;
    if (!xml || !duires::LoadResource(xml, bytes, error)) {
        m_sError = (L"layout " + (xml ? error : std::wstring(L"name missing"))).c_str();
        if (manager) manager->SetLastErrorText(m_sError);
        return nullptr;
    }
    CControlUI* root = CreateFromText(bytes.data(), bytes.size(), callback, manager);
    if (!root && xml) {
        m_sError = (std::wstring(L"layout \"") + xml + L"\": " + m_sError.str()).c_str();
        if (manager) manager->SetLastErrorText(m_sError);
    }
    return root;
}

CControlUI* CDialogBuilder::CreateFromText(const char* utf8, std::size_t length, IDialogBuilderCallback* callback,
                                           CPaintManagerUI* manager) {
    m_sError.Empty();
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_buffer(utf8, length, pugi::parse_default, pugi::encoding_auto);
    if (!parsed) {
        m_sError = (L"not well-formed XML (" + Wide(parsed.description()) + L" at offset " +
                    std::to_wstring(parsed.offset) + L")")
                       .c_str();
        if (manager) manager->SetLastErrorText(m_sError);
        return nullptr;
    }
    pugi::xml_node top = doc.document_element();
    BuildContext ctx{callback, manager, {}, {}};
    CControlUI* root = nullptr;
    if (std::string(top.name()) == "Window") {
        ApplyWindowAttributes(top, manager);
        for (pugi::xml_node child = top.first_child(); child && !root; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) continue;
            std::string name = child.name();
            if (name == "Font") continue;
            root = BuildNode(child, ctx);
        }
    } else {
        root = BuildNode(top, ctx);
    }
    if (!ctx.errors.empty()) {
        m_sError = ctx.errors.c_str();
        if (manager) manager->SetLastErrorText(m_sError);
    }
    if (!root && ctx.errors.empty()) {
        m_sError = L"no control in the layout";
        if (manager) manager->SetLastErrorText(m_sError);
    }
    // Decoded on a second thread while the window is created and shown.
    if (root && manager) manager->PrefetchImages(ctx.images.AtRest(), ctx.images.InOtherStates());
    return root;
}
