#pragma once
// Documents: a new document of a model, and the save question every command that replaces or
// closes the document asks first.

#include <cstdint>
#include <string_view>

// 1 started, 4 model name unknown (nothing changed), 10 refused (a device of another model is
// connected), 0 the save question's save failed (nothing changed).
std::uint16_t newDocument(std::string_view modelName);

// False while the document is of a model the program has no description of: it holds no
// parameter, so it cannot hold the values of the file it was opened from.
bool documentHasDescription();

// Asks the save question when the document is modified and saves on Yes. False when the save
// failed, so the command that asked must stop.
bool saveQuestionAllowsToGoOn(const char* question);

inline constexpr const char* unsavedQuestion = "Текущий открытый файл не сохранен\nЖелаете сохранить?";
inline constexpr const char* unsavedQuestionOnOpen = "Текущий открытый файл не сохранен!\nЖелаете сохранить?";

// Writes the document to its file; reports a failure and returns false.
bool saveParameterFile();
