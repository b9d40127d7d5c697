// The JSON writer: see json_output.h.
#include "terminal/json_output.h"

#include <cstdio>

void JsonWriter::BeforeValue()
{
    if (afterKey) {
        afterKey = false;
        return;
    }
    if (!firstInContainer.empty()) {
        if (!firstInContainer.back())
            out += ',';
        firstInContainer.back() = false;
    }
}

void JsonWriter::AppendQuoted(const std::string& utf8)
{
    out += '"';
    for (const char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

JsonWriter& JsonWriter::Open(char bracket)
{
    BeforeValue();
    out += bracket;
    firstInContainer.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::Close(char bracket)
{
    out += bracket;
    firstInContainer.pop_back();
    return *this;
}

JsonWriter& JsonWriter::BeginObject() { return Open('{'); }
JsonWriter& JsonWriter::EndObject() { return Close('}'); }
JsonWriter& JsonWriter::BeginArray() { return Open('['); }
JsonWriter& JsonWriter::EndArray() { return Close(']'); }

JsonWriter& JsonWriter::Key(const std::string& name)
{
    BeforeValue();
    AppendQuoted(name);
    out += ':';
    afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::String(const std::string& utf8)
{
    BeforeValue();
    AppendQuoted(utf8);
    return *this;
}

JsonWriter& JsonWriter::Number(long long value)
{
    BeforeValue();
    out += std::to_string(value);
    return *this;
}
