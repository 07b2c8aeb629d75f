#include "platform/help/page_text.h"

#include <QStringDecoder>

#include <optional>
#include <string_view>

namespace help {
namespace {

bool isOneOf(char c, std::string_view set) { return set.find(c) != std::string_view::npos; }

// The charset a meta tag names, in either form: <meta charset="..."> or
// <meta http-equiv="Content-Type" content="text/html; charset=...">; empty when none does.
QByteArray declaredCharset(const QByteArray& page)
{
    const QByteArray lower = page.toLower();
    for (qsizetype meta = lower.indexOf("<meta"); meta >= 0; meta = lower.indexOf("<meta", meta + 1)) {
        const qsizetype end = lower.indexOf('>', meta);
        const QByteArray tag = lower.mid(meta, end < 0 ? -1 : end - meta);
        qsizetype at = tag.indexOf("charset");
        if (at < 0)
            continue;
        at += 7;
        while (at < tag.size() && isOneOf(tag[at], " \t\r\n"))
            ++at;
        if (at >= tag.size() || tag[at] != '=')
            continue;
        ++at;
        while (at < tag.size() && isOneOf(tag[at], " \t\r\n\"'"))
            ++at;
        qsizetype nameEnd = at;
        while (nameEnd < tag.size() && !isOneOf(tag[nameEnd], " \t\r\n\"';/"))
            ++nameEnd;
        if (nameEnd > at)
            return tag.mid(at, nameEnd - at);
    }
    return {};
}

std::optional<QString> decodedAsDeclared(const QByteArray& page)
{
    if (const auto bom = QStringConverter::encodingForData(page))
        return QStringDecoder(*bom).decode(page);
    const QByteArray name = declaredCharset(page);
    if (name.isEmpty())
        return std::nullopt;
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid())
        return std::nullopt;
    return decoder.decode(page);
}

// The ANSI code page Windows used for a language, by its primary language number; languages not
// listed here, and files that name none, are taken as Russian, the language of this program's help.
const char* windowsCharset(std::uint32_t lcid)
{
    struct Row {
        std::uint16_t primaryLanguage;
        const char* charset;
    };
    static constexpr Row rows[] = {
        {0x02, "windows-1251"}, {0x19, "windows-1251"}, {0x22, "windows-1251"},  // bg ru uk
        {0x23, "windows-1251"}, {0x2F, "windows-1251"}, {0x3F, "windows-1251"},  // be mk kk
        {0x05, "windows-1250"}, {0x0E, "windows-1250"}, {0x15, "windows-1250"},  // cs hu pl
        {0x18, "windows-1250"}, {0x1B, "windows-1250"}, {0x24, "windows-1250"},  // ro sk sl
        {0x06, "windows-1252"}, {0x07, "windows-1252"}, {0x09, "windows-1252"},  // da de en
        {0x0A, "windows-1252"}, {0x0B, "windows-1252"}, {0x0C, "windows-1252"},  // es fi fr
        {0x10, "windows-1252"}, {0x13, "windows-1252"}, {0x14, "windows-1252"},  // it nl no
        {0x16, "windows-1252"}, {0x1D, "windows-1252"},                          // pt sv
        {0x08, "windows-1253"}, {0x1F, "windows-1254"}, {0x0D, "windows-1255"},  // el tr he
        {0x01, "windows-1256"}, {0x25, "windows-1257"}, {0x26, "windows-1257"},  // ar et lv
        {0x27, "windows-1257"},                                                  // lt
    };
    const std::uint32_t primary = lcid & 0x3FF;
    for (const Row& row : rows)
        if (row.primaryLanguage == primary)
            return row.charset;
    return "windows-1251";
}

}  // namespace

QString helpPageText(const QByteArray& page, std::uint32_t fileLanguage)
{
    if (auto text = decodedAsDeclared(page))
        return *text;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(page);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows(windowsCharset(fileLanguage));
    // Without the converters for the code page, the UTF-8 reading is the best there is.
    return windows.isValid() ? windows.decode(page) : text;
}

}  // namespace help
