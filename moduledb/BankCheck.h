#pragma once

#include "QuestionBank.h"

#include <QString>

#include <optional>

// The most choices a question can show or shuffle (single and multiple answers, typed
// values, drag-and-drop items).
constexpr int maxShownChoices = 10;

// Checks what the test engine relies on in a loaded bank: header counts equal to the
// records read, questions numbered by position, their objectives, types and prompts
// present, and each question's detail rows complete and found where the engine's row
// index looks for them. Returns a description of the first problem found.
std::optional<QString> checkBank(const QuestionBank &bank);
