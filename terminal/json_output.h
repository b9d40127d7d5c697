// A small writer of JSON for the terminal program's --json output: objects,
// arrays, strings (which must be UTF-8) and numbers, written compactly.
#pragma once

#include <string>
#include <vector>

class JsonWriter {
  public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // The name of the next value of an object.
    JsonWriter& Key(const std::string& name);
    JsonWriter& String(const std::string& utf8);
    JsonWriter& Number(long long value);

    // The document written, with a final line break.
    std::string Text() const { return out + "\n"; }

  private:
    void BeforeValue();
    JsonWriter& Open(char bracket);
    JsonWriter& Close(char bracket);
    void AppendQuoted(const std::string& utf8);

    std::string out;
    std::vector<bool> firstInContainer;
    bool afterKey = false;
};
