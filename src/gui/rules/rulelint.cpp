#include "gui/rules/rulelint.h"

#include "gui/support/textcodec.h"

#include <algorithm>

namespace qmx {

RuleLint::RuleLint(std::function<std::string()> ruleText, QObject* parent)
    : QObject(parent), ruleText_(std::move(ruleText))
{
    timer_.setSingleShot(true);
    timer_.setInterval(kDelayMs);
    connect(&timer_, &QTimer::timeout, this, &RuleLint::lintNow);
}

void RuleLint::lintNow()
{
    timer_.stop();
    const VariableList* report = report_ ? report_() : nullptr;
    std::vector<LintWarning> old = std::exchange(warnings_, lintRuleText(ruleText_(), report));
    Q_EMIT linted(old);
}

QString RuleLint::summary() const
{
    const auto errors = std::count_if(warnings_.begin(), warnings_.end(), [](const LintWarning& w) {
        return w.severity == LintSeverity::Error;
    });
    const auto others = static_cast<long>(warnings_.size()) - errors;
    if (warnings_.empty())
        return tr("No warnings");
    QStringList parts;
    if (errors > 0)
        parts << (errors == 1 ? tr("1 error") : tr("%1 errors").arg(errors));
    if (others > 0)
        parts << (others == 1 ? tr("1 warning") : tr("%1 warnings").arg(others));
    return parts.join(QStringLiteral(", "));
}

int RuleLint::nextAfter(int line, int column) const
{
    if (warnings_.empty())
        return -1;
    const auto it = std::find_if(warnings_.begin(), warnings_.end(), [&](const LintWarning& w) {
        return w.line > line || (w.line == line && w.column > column);
    });
    return it == warnings_.end() ? 0 : static_cast<int>(it - warnings_.begin());
}

const LintWarning* RuleLint::at(int line, int column) const
{
    for (const LintWarning& w : warnings_)
        if (w.line == line && column >= w.column && column < w.column + static_cast<int>(w.length))
            return &w;
    return nullptr;
}

QString RuleLint::toolTip(const LintWarning& warning)
{
    auto html = [](std::string_view text) { return toQString(text).toHtmlEscaped(); };
    QString tip = QStringLiteral("<b>%1</b> %2").arg(html(warning.code), html(warning.message));
    if (const LintCode* code = findLintCode(warning.code))
        tip += QStringLiteral("<p><b>%1</b><br>%2</p><p>%3<pre>%4</pre>%5<pre>%6</pre></p>")
                   .arg(html(code->title), html(code->help), tr("Wrong:"), html(code->wrong),
                        tr("Right:"), html(code->right));
    return tip;
}

} // namespace qmx
