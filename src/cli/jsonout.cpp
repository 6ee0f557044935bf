#include "cli/jsonout.h"

namespace qmx::cli {

namespace {

std::string scalarText(const Json& j)
{
    return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace

std::string jsonText(const Json& j)
{
    return j.dump(2, ' ', false, Json::error_handler_t::replace) + '\n';
}

void JsonObjectWriter::member(const std::string& key, const Json& value)
{
    piece_ = first_ ? "{\n  " : ",\n  ";
    first_ = false;
    piece_ += scalarText(key) + ": ";
    // A member sits one level deep. Line breaks inside strings are escaped,
    // so every raw one starts a line of the layout.
    for (const char c : value.dump(2, ' ', false, Json::error_handler_t::replace)) {
        piece_ += c;
        if (c == '\n')
            piece_ += "  ";
    }
    out_.write(piece_.data(), static_cast<std::streamsize>(piece_.size()));
}

void JsonObjectWriter::arrayMember(const std::string& key, size_t count,
                                   const std::function<Json(size_t)>& element)
{
    beginArray(key);
    for (size_t i = 0; i < count; ++i)
        this->element(element(i));
    endArray();
}

void JsonObjectWriter::beginArray(const std::string& key)
{
    arrayKey_ = key;
    elements_ = 0;
}

void JsonObjectWriter::element(const Json& value)
{
    // The member's head waits for the first element: an empty array is
    // written whole, as member writes it.
    if (elements_++ == 0) {
        piece_ = first_ ? "{\n  " : ",\n  ";
        first_ = false;
        piece_ += scalarText(arrayKey_) + ": [\n    ";
    } else {
        piece_ = ",\n    ";
    }
    // An element sits two levels deep.
    for (const char c : value.dump(2, ' ', false, Json::error_handler_t::replace)) {
        piece_ += c;
        if (c == '\n')
            piece_ += "    ";
    }
    out_.write(piece_.data(), static_cast<std::streamsize>(piece_.size()));
}

void JsonObjectWriter::endArray()
{
    if (elements_ == 0) {
        member(arrayKey_, Json::array());
        return;
    }
    piece_ = "\n  ]";
    out_.write(piece_.data(), static_cast<std::streamsize>(piece_.size()));
}

void JsonObjectWriter::finish()
{
    out_ << (first_ ? "{}\n" : "\n}\n");
}

std::string jsonLine(const Json& j)
{
    // The compact form with a blank after each separator outside strings.
    const std::string compact = scalarText(j);
    std::string out;
    out.reserve(compact.size() + compact.size() / 4);
    bool inString = false;
    size_t done = 0;
    for (size_t at = 0;
         (at = compact.find_first_of(inString ? "\"\\" : "\",:", at)) != std::string::npos;) {
        const char c = compact[at];
        if (c == '\\') {
            at += 2;
            continue;
        }
        out.append(compact, done, at + 1 - done);
        done = ++at;
        if (c == '"')
            inString = !inString;
        else
            out += ' ';
    }
    out.append(compact, done);
    return out;
}

std::string fileNameText(const std::string& bytes)
{
    return Json::parse(scalarText(bytes)).get<std::string>();
}

} // namespace qmx::cli
