#pragma once
// Opening a document with the desktop's default application, without waiting for it.

#include <functional>
#include <string>

namespace shell {

// Failures are silent: the caller has nothing to report.
void openDocument(const std::string& path);

// Tests see the paths instead of launching anything.
void setOpenDocumentResponder(std::function<void(const std::string&)> responder);

}  // namespace shell
