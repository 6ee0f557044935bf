// The one way qmxread-cli writes JSON: values built as nlohmann-json
// documents and written by its serializer, UTF-8 throughout. A byte sequence
// that is not UTF-8 (a file name in another 8-bit encoding) is written as
// U+FFFD, so the output always parses.
#pragma once

#include <nlohmann/json.hpp>

#include <functional>
#include <ostream>
#include <string>

namespace qmx::cli {

using Json = nlohmann::ordered_json;

// The document indented by two spaces, one member or element a line,
// followed by a line break.
std::string jsonText(const Json& j);

// Writes one JSON object member by member, laid out as jsonText lays out
// the whole, so a large document is never held in memory all at once.
class JsonObjectWriter {
public:
    explicit JsonObjectWriter(std::ostream& out) : out_(out) {}
    void member(const std::string& key, const Json& value);
    // An array member written element by element, laid out as member would
    // lay out the whole array: only one element is held at a time.
    void arrayMember(const std::string& key, size_t count,
                     const std::function<Json(size_t)>& element);
    // The same for elements that come one by one: beginArray, element for
    // each, endArray.
    void beginArray(const std::string& key);
    void element(const Json& value);
    void endArray();
    void finish();

private:
    std::ostream& out_;
    std::string piece_;
    bool first_ = true;
    std::string arrayKey_;
    size_t elements_ = 0;
};

// The value on one line, ", " between elements and ": " after a key.
std::string jsonLine(const Json& j);

// A file name's bytes as text for JSON or CSV output, by the rule above.
std::string fileNameText(const std::string& bytes);

} // namespace qmx::cli
