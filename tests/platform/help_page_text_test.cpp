#include <gtest/gtest.h>

#include <QStringEncoder>

#include "platform/help/page_text.h"

namespace {

constexpr std::uint32_t russian = 0x0419, german = 0x0407, czech = 0x0405, noLanguage = 0;

TEST(HelpPageText, DeclaredCharsetFirstThenUtf8ThenTheFilesLanguage)
{
    const char* const undeclared = "<html><head><title>t</title></head><body>";
    const struct {
        const char* name;
        const char* head;  // bytes before the text
        const char* charset;
        std::uint32_t language;
        const char* text;
    } cases[] = {
        {"undeclared, Russian file", undeclared, "windows-1251", russian, "Чтение параметров"},
        {"undeclared, file names no language", undeclared, "windows-1251", noLanguage, "Чтение параметров"},
        {"undeclared, German file", undeclared, "windows-1252", german, "Größe und Maße"},
        {"undeclared, Czech file", undeclared, "windows-1250", czech, "Příliš žluťoučký kůň"},
        {"undeclared UTF-8 in a German file", undeclared, "UTF-8", german, "Чтение параметров"},
        {"declared in capitals, German file",
         "<HTML><HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; CHARSET=windows-1251\"></HEAD><BODY>",
         "windows-1251", german, "Чтение параметров"},
        {"declared unquoted, other than the file's", "<meta charset=koi8-r><body>", "KOI8-R", russian, "Чтение параметров"},
        {"declared after another meta tag", "<meta name=\"charset\" content=\"x\">\n<meta charset = 'windows-1252'>",
         "windows-1252", russian, "Größe und Maße"},
        {"declared but unknown here", "<meta charset=\"x-no-such-charset\"><body>", "windows-1251", russian,
         "Чтение параметров"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QStringEncoder encoder(c.charset);
        ASSERT_TRUE(encoder.isValid());
        const QByteArray page = encoder.encode(QString::fromUtf8(c.head) + QString::fromUtf8(c.text));
        EXPECT_TRUE(help::helpPageText(page, c.language).contains(QString::fromUtf8(c.text)))
            << help::helpPageText(page, c.language).toStdString();
    }

    // A byte-order mark declares its charset too: UTF-16 Cyrillic would otherwise pass for UTF-8.
    const QString text = QString::fromUtf8("Чтение параметров");
    const QByteArray utf16 = QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom).encode(text);
    EXPECT_EQ(help::helpPageText(utf16, german), text);
}

}  // namespace
