#include "xml_tag_check.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace veltrin::fuzz {
namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsNameStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsNameChar(char c)
{
    return IsNameStart(c) || IsDigit(c) || c == '-' || c == '.';
}

bool IsDocumentChar(char c)
{
    return (c >= 0x20 && c < 0x7f) || c == '\t' || c == '\r' || c == '\n';
}

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool AtEnd() const { return at_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[at_]; }
    void Skip() { ++at_; }
    bool Take(std::string_view expected)
    {
        if (text_.substr(at_, expected.size()) != expected)
            return false;
        at_ += expected.size();
        return true;
    }
    void SkipSpace()
    {
        while (!AtEnd() && IsSpace(text_[at_]))
            ++at_;
    }

    bool Name(std::string_view& name)
    {
        if (!IsNameStart(Peek()))
            return false;
        const std::size_t first = at_;
        while (IsNameChar(Peek()))
            ++at_;
        name = text_.substr(first, at_ - first);
        return true;
    }

    // After "&": a predefined entity or a character reference, up to its ";".
    bool Reference()
    {
        Skip();
        std::size_t digits = 0;
        if (Take("#x")) {
            for (; IsHexDigit(Peek()); Skip())
                ++digits;
        } else if (Take("#")) {
            for (; IsDigit(Peek()); Skip())
                ++digits;
        } else {
            digits =
                Take("amp") || Take("lt") || Take("gt") || Take("quot") || Take("apos") ? 1 : 0;
        }
        return digits > 0 && Take(";");
    }

    // Attributes of a tag, up to where its end ("?>", "/>" or ">") should be;
    // false for a malformed or repeated attribute.
    bool Attributes()
    {
        std::vector<std::string_view> seen;
        for (;;) {
            const std::size_t before = at_;
            SkipSpace();
            if (!IsNameStart(Peek()))
                return true;
            std::string_view name;
            if (at_ == before || !Name(name))
                return false;  // white space must separate attributes
            SkipSpace();
            if (!Take("="))
                return false;
            SkipSpace();
            const char quote = Peek();
            if (quote != '"' && quote != '\'')
                return false;
            Skip();
            while (Peek() != quote) {
                if (AtEnd() || Peek() == '<')
                    return false;
                if (Peek() == '&') {
                    if (!Reference())
                        return false;
                } else {
                    Skip();
                }
            }
            Skip();
            if (std::find(seen.begin(), seen.end(), name) != seen.end())
                return false;
            seen.push_back(name);
        }
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

bool IsWellFormedXml(std::string_view document)
{
    if (!std::all_of(document.begin(), document.end(), IsDocumentChar))
        return false;
    if (document.find("]]>") != std::string_view::npos)
        return false;  // never allowed in text
    Reader in(document);
    if (!in.Take("<?xml") || !in.Attributes())
        return false;
    in.SkipSpace();
    if (!in.Take("?>"))
        return false;

    std::vector<std::string_view> open;
    bool rootClosed = false;
    while (!in.AtEnd()) {
        if (in.Peek() != '<') {
            if (open.empty() && !IsSpace(in.Peek()))
                return false;
            if (in.Peek() == '&') {
                if (!in.Reference())
                    return false;
            } else {
                in.Skip();
            }
            continue;
        }
        std::string_view name;
        if (in.Take("</")) {
            if (!in.Name(name))
                return false;
            in.SkipSpace();
            if (!in.Take(">") || open.empty() || open.back() != name)
                return false;
            open.pop_back();
            rootClosed = open.empty();
            continue;
        }
        in.Skip();
        // The writer puts out no comments, CDATA or further declarations.
        if (rootClosed || !in.Name(name) || !in.Attributes())
            return false;
        in.SkipSpace();
        if (in.Take("/>")) {
            rootClosed = open.empty();
        } else if (in.Take(">")) {
            open.push_back(name);
        } else {
            return false;
        }
    }
    return rootClosed && open.empty();
}

}  // namespace veltrin::fuzz
