#include "gfxutil/xfile/xfile_reader_parser.h"

#include <deque>
#include <string>
#include <utility>

namespace tetrakon {
namespace {

using Kind = XToken::Kind;

// What the heap keeps besides the bytes asked for, per allocation.
constexpr std::size_t kAllocationOverhead = 16;

std::size_t HeapCost(const std::string& text) {
    return text.size() + kAllocationOverhead;
}

class Parser {
  public:
    Parser(XTokenSource* source, std::size_t bodySize)
        : source_(source), budget_(kXTreeAllowance + kMaxXTreeBytesPerBodyByte * bodySize) {}

    XStatus ParseFile(XFile* out) {
        for (;;) {
            XToken token;
            if (XStatus s = Take(&token); !s.ok())
                return s;
            switch (token.kind) {
                case Kind::End:
                    return {};
                case Kind::Template: {
                    if (XStatus s = Charge(sizeof(XTemplate)); !s.ok())
                        return s;
                    XTemplate tmpl;
                    if (XStatus s = ParseTemplate(&tmpl); !s.ok())
                        return s;
                    out->templates.push_back(std::move(tmpl));
                    break;
                }
                case Kind::Name: {
                    if (XStatus s = ChargeObject(token.text); !s.ok())
                        return s;
                    auto object = std::make_unique<XDataObject>();
                    object->templateName = std::move(token.text);
                    if (XStatus s = ParseObject(object.get(), 1); !s.ok())
                        return s;
                    out->objects.push_back(std::move(object));
                    break;
                }
                case Kind::Semicolon:
                case Kind::Comma:
                    break;
                case Kind::CloseBrace:
                    return SkipTrailingBraces();
                default:
                    return Unexpected(token, "at top level");
            }
        }
    }

  private:
    // Takes `bytes` off what the tree may still take.
    XStatus Charge(std::size_t bytes) {
        if (bytes > budget_) {
            return XFail(XError::TooLarge, "the objects would take more than " +
                                               std::to_string(kMaxXTreeBytesPerBodyByte) +
                                               " times the file's size in memory");
        }
        budget_ -= bytes;
        return {};
    }

    XStatus ChargeObject(const std::string& templateName) {
        return Charge(sizeof(XDataObject) + sizeof(XChild) + kAllocationOverhead +
                      HeapCost(templateName));
    }

    XStatus Fill(std::size_t count) {
        while (ahead_.size() < count) {
            XToken token;
            if (XStatus s = source_->Next(&token); !s.ok())
                return s;
            ahead_.push_back(std::move(token));
        }
        return {};
    }

    XStatus Take(XToken* token) {
        if (ahead_.empty())
            return source_->Next(token);
        *token = std::move(ahead_.front());
        ahead_.pop_front();
        return {};
    }

    // The GUID that may open a template or data object body.
    XStatus TakeOptionalGuid(std::string* guid) {
        Kind next = Kind::End;
        if (XStatus s = PeekKind(0, &next); !s.ok() || next != Kind::Guid)
            return s;
        XToken token;
        if (XStatus s = Take(&token); !s.ok())
            return s;
        *guid = std::move(token.text);
        return {};
    }

    XStatus PeekKind(std::size_t index, Kind* kind) {
        if (XStatus s = Fill(index + 1); !s.ok())
            return s;
        *kind = ahead_[index].kind;
        return {};
    }

    XStatus Expect(Kind kind, const char* what, XToken* token) {
        if (XStatus s = Take(token); !s.ok())
            return s;
        if (token->kind == kind)
            return {};
        return Unexpected(*token, what);
    }

    static XStatus Unexpected(const XToken& token, const std::string& where) {
        if (token.kind == Kind::End)
            return XFail(XError::Truncated, "data ends " + where);
        return XFail(XError::Syntax, "unexpected " + Describe(token) + " " + where);
    }

    static std::string Describe(const XToken& token) {
        switch (token.kind) {
            case Kind::Name:
                return "name '" + PrintableXName(token.text) + "'";
            case Kind::String:
                return "string";
            case Kind::Integer:
            case Kind::Float:
                return "number";
            case Kind::Guid:
                return "GUID";
            case Kind::Template:
                return "'template'";
            case Kind::OpenBrace:
                return "'{'";
            case Kind::CloseBrace:
                return "'}'";
            case Kind::OpenBracket:
                return "'['";
            case Kind::CloseBracket:
                return "']'";
            case Kind::Comma:
                return "','";
            case Kind::Semicolon:
                return "';'";
            case Kind::Dot:
                return "'.'";
            default:
                return "token";
        }
    }

    XStatus SkipTrailingBraces() {
        for (;;) {
            XToken token;
            if (XStatus s = Take(&token); !s.ok())
                return s;
            if (token.kind == Kind::End)
                return {};
            if (token.kind != Kind::CloseBrace) {
                return XFail(XError::Syntax, "unbalanced '}' before " + Describe(token));
            }
        }
    }

    XStatus ParseTemplate(XTemplate* out) {
        XToken token;
        if (XStatus s = Expect(Kind::Name, "after 'template'", &token); !s.ok())
            return s;
        out->name = std::move(token.text);
        const std::string where = "in template " + PrintableXName(out->name);
        if (XStatus s = Expect(Kind::OpenBrace, where.c_str(), &token); !s.ok())
            return s;
        if (XStatus s = TakeOptionalGuid(&out->guid); !s.ok())
            return s;
        for (;;) {
            if (XStatus s = Take(&token); !s.ok())
                return s;
            if (token.kind == Kind::CloseBrace)
                return {};
            if (token.kind == Kind::OpenBracket) {
                if (XStatus s = ParseRestriction(out); !s.ok())
                    return s;
                continue;
            }
            if (token.kind != Kind::Name)
                return Unexpected(token, where);
            XTemplateMember member;
            if (token.text == "array") {
                member.isArray = true;
                if (XStatus s = Expect(Kind::Name, where.c_str(), &token); !s.ok())
                    return s;
            }
            member.typeName = std::move(token.text);
            if (XStatus s = Take(&token); !s.ok())
                return s;
            if (token.kind == Kind::Name) {
                member.name = std::move(token.text);
                if (XStatus s = Take(&token); !s.ok())
                    return s;
            }
            while (member.isArray && token.kind == Kind::OpenBracket) {
                if (XStatus s = Take(&token); !s.ok())
                    return s;
                if (token.kind == Kind::Integer && token.integer >= 0) {
                    member.dimensions.push_back(std::to_string(token.integer));
                } else if (token.kind == Kind::Name) {
                    member.dimensions.push_back(std::move(token.text));
                } else {
                    return Unexpected(token, where);
                }
                if (XStatus s = Expect(Kind::CloseBracket, where.c_str(), &token); !s.ok()) {
                    return s;
                }
                if (XStatus s = Take(&token); !s.ok())
                    return s;
            }
            if (member.isArray && member.dimensions.empty())
                return Unexpected(token, where);
            if (token.kind != Kind::Semicolon)
                return Unexpected(token, where);
            if (XStatus s = Charge(sizeof(XTemplateMember) + HeapCost(member.typeName) +
                                   HeapCost(member.name));
                !s.ok()) {
                return s;
            }
            out->members.push_back(std::move(member));
        }
    }

    // After '[': "...]" or a list of template names, each with an optional GUID.
    XStatus ParseRestriction(XTemplate* out) {
        const std::string where = "in the restriction of template " + PrintableXName(out->name);
        XToken token;
        if (XStatus s = Take(&token); !s.ok())
            return s;
        if (token.kind == Kind::Dot) {
            for (int i = 0; i < 2; ++i) {
                if (XStatus s = Expect(Kind::Dot, where.c_str(), &token); !s.ok())
                    return s;
            }
            out->restriction = XTemplate::Restriction::Open;
            return Expect(Kind::CloseBracket, where.c_str(), &token);
        }
        out->restriction = XTemplate::Restriction::Restricted;
        for (;;) {
            if (token.kind == Kind::CloseBracket)
                return {};
            if (token.kind == Kind::Name) {
                out->allowedTypes.push_back(std::move(token.text));
            } else if (token.kind != Kind::Guid && token.kind != Kind::Comma) {
                return Unexpected(token, where);
            }
            if (XStatus s = Take(&token); !s.ok())
                return s;
        }
    }

    // Takes the next token into *token; when it is a name, keeps it in *name (charged to the
    // memory budget) and takes the token after it instead.
    XStatus TakeOptionalName(std::string* name, XToken* token) {
        if (XStatus s = Take(token); !s.ok())
            return s;
        if (token->kind != Kind::Name)
            return {};
        if (XStatus s = Charge(HeapCost(token->text)); !s.ok())
            return s;
        *name = std::move(token->text);
        return Take(token);
    }

    // Parses from the optional name after the template name up to the closing brace.
    XStatus ParseObject(XDataObject* object, int depth) {
        if (depth > kMaxXObjectDepth) {
            return XFail(XError::TooDeep,
                         "objects nested deeper than " + std::to_string(kMaxXObjectDepth));
        }
        const std::string where = "in " + PrintableXName(object->templateName) + " object";
        XToken token;
        if (XStatus s = TakeOptionalName(&object->name, &token); !s.ok())
            return s;
        if (token.kind != Kind::OpenBrace)
            return Unexpected(token, where);
        if (XStatus s = TakeOptionalGuid(&object->guid); !s.ok())
            return s;
        for (;;) {
            if (XStatus s = Take(&token); !s.ok())
                return s;
            if (XStatus s = ChargeItem(token); !s.ok())
                return s;
            switch (token.kind) {
                case Kind::CloseBrace:
                    return {};
                case Kind::Semicolon:
                case Kind::Comma:
                    break;
                case Kind::Integer:
                    object->values.push_back(XValue::Integer(token.integer));
                    break;
                case Kind::Float:
                    object->values.push_back(XValue::Float(token.number));
                    break;
                case Kind::String:
                    object->values.push_back(XValue::String(std::move(token.text)));
                    break;
                case Kind::Name: {
                    XChild child;
                    child.object = std::make_unique<XDataObject>();
                    child.object->templateName = std::move(token.text);
                    if (XStatus s = ParseObject(child.object.get(), depth + 1); !s.ok())
                        return s;
                    object->children.push_back(std::move(child));
                    break;
                }
                case Kind::OpenBrace: {
                    XChild child;
                    if (XStatus s = ParseReference(&child, where); !s.ok())
                        return s;
                    object->children.push_back(std::move(child));
                    break;
                }
                default:
                    return Unexpected(token, where);
            }
        }
    }

    // What one token inside an object adds to the tree: a value, or a child object or
    // reference (whose names are charged as they are read).
    XStatus ChargeItem(const XToken& token) {
        switch (token.kind) {
            case Kind::Integer:
            case Kind::Float:
                return Charge(sizeof(XValue));
            case Kind::String:
                return Charge(sizeof(XValue) + sizeof(std::string) + kAllocationOverhead +
                              HeapCost(token.text));
            case Kind::Name:
                return ChargeObject(token.text);
            case Kind::OpenBrace:
                return Charge(sizeof(XChild));
            default:
                return {};
        }
    }

    // After '{' inside an object: a name, a GUID or both, then '}'.
    XStatus ParseReference(XChild* child, const std::string& where) {
        XToken token;
        if (XStatus s = TakeOptionalName(&child->referenceName, &token); !s.ok())
            return s;
        if (token.kind == Kind::Guid) {
            child->referenceGuid = std::move(token.text);
            if (XStatus s = Take(&token); !s.ok())
                return s;
        }
        if (child->referenceName.empty() && child->referenceGuid.empty()) {
            return Unexpected(token, "in a reference " + where);
        }
        if (token.kind != Kind::CloseBrace)
            return Unexpected(token, "in a reference " + where);
        return {};
    }

    XTokenSource* source_;
    std::deque<XToken> ahead_;
    std::size_t budget_;  // bytes the tree may still take
};

}  // namespace

XStatus ParseXTokens(XTokenSource* source, std::size_t bodySize, XFile* out) {
    return Parser(source, bodySize).ParseFile(out);
}

}  // namespace tetrakon
