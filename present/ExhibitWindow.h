#pragma once

#include <QString>

class QWidget;
struct QuestionBank;
struct TestState;

// Shows the exhibit text of the item on screen (state.curItem, state.curQ) modally in
// frExhibit, captioned "Exhibit: Item <item> of <testLength>". A missing or unreadable
// file, or a name that is not a plain file name inside moduleFolder, shows the error
// report naming ShowExhibit instead. Returns when the window is closed.
void ShowExhibit(const QuestionBank &bank, const TestState &state, const QString &moduleFolder,
                 QWidget *parent);
