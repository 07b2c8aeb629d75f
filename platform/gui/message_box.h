#pragma once
// Message boxes of the window layer. Tests install a responder that answers instead of the user
// and sees every box the program would show.

#include <functional>
#include <string>
#include <string_view>

namespace gui {

enum class Icon { None, Error, Warning, Information, Question };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

struct MessageBoxCall {
    std::string title;
    std::string text;  // "\r" and "\n" both break lines
    Icon icon;
    Buttons buttons;
};

// Shows a modal box (or hands it to the responder) and returns the answer.
Answer messageBox(std::string_view title, std::string_view text, Icon icon, Buttons buttons = Buttons::Ok);

using MessageBoxResponder = std::function<Answer(const MessageBoxCall&)>;
// An empty responder restores the real dialogs.
void setMessageBoxResponder(MessageBoxResponder responder);

}  // namespace gui
