// Line rules for text in memory, one home for all of them. Files from
// outside (reports, scanner input files) break at CR LF, CR or LF; plain rule
// text files break at LF with an optional CR before it; texts the program
// builds (rule output, entries spread over lines) keep every piece; and
// everything the program writes or hands on joins lines with CR LF.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qmx {

// Splits at CR LF, CR or LF; a final line end adds no line, so empty text
// has no lines.
std::vector<std::string_view> splitLineViews(std::string_view text);
// The same, calling pump every few thousand lines.
std::vector<std::string_view> splitLineViews(std::string_view text,
                                             const std::function<void()>& pump);
std::vector<std::string> splitLines(std::string_view text);

// Calls piece(view) for each piece of text between CR LF, CR or LF, keeping
// every piece: a final line end gives a last empty piece, and empty text is
// one empty piece.
template <class F> void forEachPiece(std::string_view text, F&& piece)
{
    // A plain loop: this runs once for every variable the command-line tool
    // prints, and most entries hold no line break at all.
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        piece(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    piece(text.substr(start));
}

// Splits at LF, dropping a CR just before it; a CR anywhere else stays. A
// final line end adds no line.
std::vector<std::string> splitAtLineFeeds(std::string_view text);

// The lines joined by CR LF, with no line end after the last.
std::string joinLines(const std::vector<std::string>& lines);

} // namespace qmx
