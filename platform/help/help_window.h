#pragma once
// The program's help: a window of ours that shows a page of the compiled help file and follows
// the links inside it.

#include <string>

namespace help {

// Shows the topic (the file's default topic when empty). A missing or unreadable file or topic
// shows nothing and reports nothing.
void showHelp(const std::string& chmPath, const std::string& topic = {});

// The topic on screen, or empty when the help window is closed or was never opened (tests).
std::string shownTopic();
void closeHelp();

}  // namespace help
