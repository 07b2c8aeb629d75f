#pragma once
// The text of a help page, whatever charset it was written in.

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace help {

// A page is read in the charset it declares (a byte-order mark or a meta tag). One that declares
// none, or one not known here, is read as UTF-8 when its bytes are UTF-8, else in the Windows code
// page of the help file's language (an LCID; 0 when the file names none, which reads as
// windows-1251).
QString helpPageText(const QByteArray& page, std::uint32_t fileLanguage);

}  // namespace help
