#include "manage/TaskXml.h"

namespace tv {

namespace {

// Far deeper than any task document; deeper text is not a definition.
constexpr std::size_t kMaxDepth = 64;

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::u16string Trimmed(const std::u16string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsSpace(text[begin])) ++begin;
    while (end > begin && IsSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

bool StartsWith(const std::u16string& text, std::size_t at, const char16_t* prefix) {
    for (std::size_t i = 0; prefix[i]; ++i)
        if (at + i >= text.size() || text[at + i] != prefix[i]) return false;
    return true;
}

// The name without its namespace prefix.
std::u16string LocalName(const std::u16string& name) {
    const std::size_t colon = name.find(u':');
    return colon == std::u16string::npos ? name : name.substr(colon + 1);
}

void AppendCodePoint(std::uint32_t code, std::u16string* out) {
    if (code < 0x10000) {
        out->push_back(static_cast<char16_t>(code));
    } else {
        code -= 0x10000;
        out->push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
        out->push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    }
}

// Character data with its references replaced; false for a reference the
// schema's documents cannot hold.
bool Decode(const std::u16string& raw, std::u16string* out) {
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != u'&') {
            out->push_back(raw[i]);
            continue;
        }
        const std::size_t semicolon = raw.find(u';', i);
        if (semicolon == std::u16string::npos || semicolon - i > 12) return false;
        const std::u16string entity = raw.substr(i + 1, semicolon - i - 1);
        i = semicolon;
        if (entity == u"lt") out->push_back(u'<');
        else if (entity == u"gt") out->push_back(u'>');
        else if (entity == u"amp") out->push_back(u'&');
        else if (entity == u"quot") out->push_back(u'"');
        else if (entity == u"apos") out->push_back(u'\'');
        else if (entity.size() > 1 && entity[0] == u'#') {
            const bool hex = entity[1] == u'x';
            std::uint32_t code = 0;
            std::size_t digits = 0;
            for (std::size_t d = hex ? 2 : 1; d < entity.size(); ++d, ++digits) {
                const char16_t c = entity[d];
                std::uint32_t v;
                if (c >= u'0' && c <= u'9') v = c - u'0';
                else if (hex && c >= u'a' && c <= u'f') v = c - u'a' + 10;
                else if (hex && c >= u'A' && c <= u'F') v = c - u'A' + 10;
                else return false;
                code = code * (hex ? 16 : 10) + v;
                if (code > 0x10FFFF) return false;
            }
            if (digits == 0 || code == 0 || (code >= 0xD800 && code <= 0xDFFF)) return false;
            AppendCodePoint(code, out);
        } else {
            return false;
        }
    }
    return true;
}

bool ReadBool(const std::u16string& text, bool* value) {
    const std::u16string t = Trimmed(text);
    if (t == u"true" || t == u"1") *value = true;
    else if (t == u"false" || t == u"0") *value = false;
    else return false;
    return true;
}

class Reader {
public:
    explicit Reader(TaskDefinition* definition) : definition_(definition) {}

    bool Read(const std::u16string& xml) {
        std::size_t at = !xml.empty() && xml[0] == 0xFEFF ? 1 : 0;
        while (at < xml.size()) {
            if (xml[at] != u'<') {
                std::size_t next = xml.find(u'<', at);
                if (next == std::u16string::npos) next = xml.size();
                const std::u16string raw = xml.substr(at, next - at);
                if (stack_.empty()) {
                    if (!Trimmed(raw).empty()) return false;  // text outside the root
                } else if (!Decode(raw, &text_)) {
                    return false;
                }
                at = next;
            } else if (StartsWith(xml, at, u"<?")) {
                if (!SkipPast(xml, &at, u"?>")) return false;
            } else if (StartsWith(xml, at, u"<!--")) {
                if (!SkipPast(xml, &at, u"-->")) return false;
            } else if (StartsWith(xml, at, u"<![CDATA[")) {
                const std::size_t end = xml.find(u"]]>", at);
                if (end == std::u16string::npos || stack_.empty()) return false;
                text_ += xml.substr(at + 9, end - at - 9);
                at = end + 3;
            } else if (StartsWith(xml, at, u"<!")) {
                return false;  // a document type could declare entities of its own
            } else if (!Tag(xml, &at)) {
                return false;
            }
        }
        return stack_.empty() && rootSeen_;
    }

private:
    static bool SkipPast(const std::u16string& xml, std::size_t* at, const char16_t* end) {
        const std::size_t found = xml.find(end, *at);
        if (found == std::u16string::npos) return false;
        *at = found + std::char_traits<char16_t>::length(end);
        return true;
    }

    bool Tag(const std::u16string& xml, std::size_t* at) {
        // The tag's end, past quoted attribute values that may hold '>'.
        std::size_t end = *at + 1;
        char16_t quote = 0;
        for (; end < xml.size(); ++end) {
            const char16_t c = xml[end];
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u'>') {
                break;
            } else if (c == u'<') {
                return false;
            }
        }
        if (end >= xml.size()) return false;
        const bool closing = xml[*at + 1] == u'/';
        const bool empty = !closing && xml[end - 1] == u'/';
        std::size_t nameBegin = *at + (closing ? 2 : 1);
        std::size_t nameEnd = nameBegin;
        while (nameEnd < end && !IsSpace(xml[nameEnd]) && xml[nameEnd] != u'/') ++nameEnd;
        const std::u16string name = LocalName(xml.substr(nameBegin, nameEnd - nameBegin));
        *at = end + 1;
        if (name.empty()) return false;
        if (closing) {
            if (stack_.empty() || stack_.back() != name) return false;
            End();
            return true;
        }
        if (stack_.empty() && (rootSeen_ || name != u"Task")) return false;
        if (stack_.size() >= kMaxDepth) return false;
        rootSeen_ = true;
        stack_.push_back(name);
        text_.clear();
        Start();
        if (empty) End();
        return true;
    }

    bool In(const char16_t* second) const { return stack_.size() >= 2 && stack_[1] == second; }

    void Start() {
        if (stack_.size() == 3 && In(u"Triggers")) {
            TaskTrigger trigger;
            if (stack_[2] == u"LogonTrigger") trigger.kind = TaskTriggerKind::Logon;
            else if (stack_[2] == u"BootTrigger") trigger.kind = TaskTriggerKind::Boot;
            definition_->triggers.push_back(trigger);
        } else if (stack_.size() == 3 && In(u"Actions")) {
            inExec_ = stack_[2] == u"Exec";
            if (inExec_) definition_->execs.emplace_back();
        }
    }

    void End() {
        const std::u16string& name = stack_.back();
        if (stack_.size() == 4 && In(u"Triggers") && name == u"Enabled") {
            if (!ReadBool(text_, &definition_->triggers.back().enabled)) failed_ = true;
        } else if (stack_.size() == 4 && In(u"Actions") && inExec_) {
            if (name == u"Command") definition_->execs.back().command = Trimmed(text_);
            else if (name == u"Arguments") definition_->execs.back().arguments = Trimmed(text_);
        }
        stack_.pop_back();
        text_.clear();
    }

public:
    bool failed_ = false;

private:
    TaskDefinition* definition_;
    std::vector<std::u16string> stack_;
    std::u16string text_;
    bool rootSeen_ = false;
    bool inExec_ = false;
};

}  // namespace

bool ReadTaskXml(const std::u16string& xml, TaskDefinition* definition) {
    TaskDefinition read;
    Reader reader(&read);
    if (!reader.Read(xml) || reader.failed_) return false;
    *definition = std::move(read);
    return true;
}

}  // namespace tv
