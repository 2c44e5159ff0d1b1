// CDuiString: the library's text type. A thin value wrapper over std::wstring that
// converts to a wide C string, so callers can compare names with literals
// (`msg.sType == L"click"`) and pass text to Win32 directly.
#pragma once

#include <string>
#include <string_view>

class CDuiString {
public:
    CDuiString() = default;
    CDuiString(const wchar_t* text) : text_(text ? text : L"") {}
    CDuiString(std::wstring text) : text_(std::move(text)) {}
    CDuiString(std::wstring_view text) : text_(text) {}

    const wchar_t* GetData() const { return text_.c_str(); }
    operator const wchar_t*() const { return text_.c_str(); }
    const std::wstring& str() const { return text_; }
    int GetLength() const { return static_cast<int>(text_.size()); }
    bool IsEmpty() const { return text_.empty(); }
    void Empty() { text_.clear(); }

    bool operator==(const wchar_t* other) const { return text_ == (other ? other : L""); }
    bool operator!=(const wchar_t* other) const { return !(*this == other); }
    bool operator==(const CDuiString& other) const { return text_ == other.text_; }
    bool operator!=(const CDuiString& other) const { return text_ != other.text_; }
    CDuiString& operator+=(const wchar_t* more) {
        text_ += more ? more : L"";
        return *this;
    }
    CDuiString operator+(const wchar_t* more) const { return CDuiString(text_ + (more ? more : L"")); }

private:
    std::wstring text_;
};
