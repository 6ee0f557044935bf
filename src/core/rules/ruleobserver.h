// A listener to a rule run: which variables an IF condition read, and which
// Suggestions lines a PRINT wrote under it. The fleet summary uses it to give
// each finding its evidence from the same run that wrote it.
#pragma once

#include <cstddef>
#include <string_view>

namespace qmx {

class RuleObserver {
public:
    virtual ~RuleObserver() = default;
    // An IF statement starts deciding its condition.
    virtual void conditionStarted() {}
    // The condition read reference ("%NAME%"); value is what replaced it,
    // empty when the variable was missing or blank.
    virtual void referenceRead(std::string_view reference, std::string_view value, bool found)
    {
        (void)reference, (void)value, (void)found;
    }
    // The IF statement, its action included, has ended.
    virtual void conditionEnded() {}
    // A PRINT or SUGGEST wrote the Suggestions lines [first, end).
    virtual void printed(size_t first, size_t end) { (void)first, (void)end; }
};

} // namespace qmx
