#include "gui/support/textcodec.h"

#include "core/util/cp1252.h"

namespace qmx {

QString toQString(std::string_view bytes)
{
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* p = out.data();
    for (unsigned char b : bytes)
        *p++ = QChar(cp1252ToUnicode(b));
    return out;
}

QStringList toQStringList(const std::vector<std::string>& list)
{
    QStringList out;
    out.reserve(static_cast<qsizetype>(list.size()));
    for (const auto& s : list)
        out << toQString(s);
    return out;
}

std::string fromQString(const QString& text)
{
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i; // one character outside the code page, one '?'
        out += unicodeToCp1252(c.unicode());
    }
    return out;
}

} // namespace qmx
